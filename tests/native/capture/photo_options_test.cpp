#include "capture/photo_options.h"

#include <gtest/gtest.h>

using namespace vistrel;

TEST(PanelEnabling, EachChangeSetsOnlyWhatDependsOnIt) {
    PhotoOptions o; // JPEG, resizing off, proportional on
    PanelEnabling e = Enabling(o, OptionChange::Loaded, {});
    // Loaded with resizing off, the percentage follows the proportional box alone.
    EXPECT_EQ(e, (PanelEnabling{true, false, true}));
    o.typeEntry = 0;
    e = Enabling(o, OptionChange::Type, e);
    EXPECT_EQ(e, (PanelEnabling{false, false, true}));
    o.typeEntry = 2;
    EXPECT_FALSE(Enabling(o, OptionChange::Type, e).quality) << "PNG has no quality";
    o.typeEntry = -1;
    e = Enabling(o, OptionChange::Type, e);
    EXPECT_TRUE(e.quality) << "no entry saves JPEG";
    o.resize = true;
    e = Enabling(o, OptionChange::Resize, e);
    EXPECT_EQ(e, (PanelEnabling{true, true, true}));
    o.proportional = false;
    e = Enabling(o, OptionChange::Proportional, e);
    EXPECT_EQ(e, (PanelEnabling{true, true, false}));
    o.resize = false;
    o.proportional = true;
    e = Enabling(o, OptionChange::Resize, e);
    EXPECT_EQ(e, (PanelEnabling{true, false, false})) << "resizing off takes the percentage too";
}

TEST(PhotoOptions, RangesAndTheRequestedSize) {
    PhotoOptions o;
    o.typeEntry = 3;
    o.quality = 150;
    o.percent = 0;
    o.BringIntoRange();
    EXPECT_EQ(o.typeEntry, -1);
    EXPECT_EQ(o.Type(), PhotoType::Jpeg);
    EXPECT_EQ(o.quality, 100);
    EXPECT_EQ(o.percent, 1);

    EXPECT_EQ(RequestedSize(o), std::nullopt) << "resizing off";
    o.resize = true;
    EXPECT_EQ(RequestedSize(o), (PhotoSize{640, 480}));
    o.width = L"$140";
    o.height = L" 0";
    EXPECT_EQ(RequestedSize(o), (PhotoSize{320, 0}));
    o.height = L"abc";
    EXPECT_EQ(RequestedSize(o), std::nullopt) << "a box that is no number keeps the view's size";
}

TEST(ScaledSize, IsAPercentageTruncatedAtLeastOneWithThirtyTwoBitProducts) {
    EXPECT_EQ(ScaledSize({800, 600}, 50), (PhotoSize{400, 300}));
    EXPECT_EQ(ScaledSize({100, 50}, 1), (PhotoSize{1, 1}));
    EXPECT_EQ(ScaledSize({333, 333}, 33), (PhotoSize{109, 109}));
    EXPECT_EQ(ScaledSize({0, -50}, 100), (PhotoSize{1, 1}));
    // 100000000 * 50 wraps in 32 bits to 705032704, then / 100.
    EXPECT_EQ(ScaledSize({100000000, 1000}, 50), (PhotoSize{7050327, 500}));
    EXPECT_EQ(ScaledSize({2147483647, 42949673}, 100), (PhotoSize{1, 1}));
}

TEST(ProportionalSizing, TheViewIsTheBaseAndWithoutOneTheBaseStaysPut) {
    PhotoOptions o;
    o.width = L"640";
    o.height = L"480";
    ProportionalSizing sizing;
    // Without the browser, the boxes are the base the first time, and only then: moving
    // to 50 % and back to 100 % gives the user's size back.
    for (int percent : {50, 40, 100}) {
        o.percent = percent;
        sizing.Apply(o, std::nullopt);
    }
    EXPECT_EQ(o.width, L"640");
    EXPECT_EQ(o.height, L"480");
    o.percent = 25;
    sizing.Apply(o, std::nullopt);
    EXPECT_EQ(o.width + L"x" + o.height, L"160x120");

    // The view as it is whenever there is one, and the last one seen once it is gone.
    o.percent = 50;
    sizing.Apply(o, PhotoSize{800, 600});
    EXPECT_EQ(o.width + L"x" + o.height, L"400x300");
    sizing.Apply(o, PhotoSize{1000, 500});
    EXPECT_EQ(o.width + L"x" + o.height, L"500x250");
    o.percent = 100;
    sizing.Apply(o, std::nullopt);
    EXPECT_EQ(o.width + L"x" + o.height, L"1000x500");

    // Typed sizes are the next base; text that is no number gives 800 by 600.
    sizing.Forget();
    o.width = L"abc";
    o.percent = 25;
    sizing.Apply(o, std::nullopt);
    EXPECT_EQ(o.width + L"x" + o.height, L"200x150");
    // Proportional sizing off: the boxes are the user's alone.
    o.proportional = false;
    o.width = L"123";
    sizing.Apply(o, PhotoSize{800, 600});
    EXPECT_EQ(o.width, L"123");
}
