#include "app/photo_queue.h"

#include <gtest/gtest.h>

using namespace vistrel;

TEST(PhotoQueue, ATakenPhotoLetsTheNextStartAndAnyOtherEndDropsThoseWaiting) {
    PhotoQueue q;
    EXPECT_TRUE(q.Ask(PhotoRequest::Button));
    EXPECT_FALSE(q.Ask(PhotoRequest::Hotkey));
    EXPECT_FALSE(q.Ask(PhotoRequest::Button));
    EXPECT_EQ(q.End(PhotoEnd::Taken), PhotoRequest::Hotkey) << "in the order they came";
    EXPECT_TRUE(q.UnderWay());
    EXPECT_EQ(q.End(PhotoEnd::Taken), PhotoRequest::Button);
    EXPECT_EQ(q.End(PhotoEnd::Taken), std::nullopt);
    EXPECT_FALSE(q.UnderWay());

    for (PhotoEnd end :
         {PhotoEnd::NoView, PhotoEnd::Failed, PhotoEnd::Closing, PhotoEnd::Blocked}) {
        // Three quick clicks, and the first finds the browser gone: nothing waits for a later
        // click, which then takes exactly one photo.
        ASSERT_TRUE(q.Ask(PhotoRequest::Button));
        q.Ask(PhotoRequest::Button);
        q.Ask(PhotoRequest::Hotkey);
        EXPECT_EQ(q.End(end), std::nullopt);
        EXPECT_EQ(q.Waiting(), 0u);
        EXPECT_FALSE(q.UnderWay());
        EXPECT_TRUE(q.Ask(PhotoRequest::Button));
        EXPECT_EQ(q.End(PhotoEnd::Taken), std::nullopt);
    }
}
