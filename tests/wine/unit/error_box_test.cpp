// Errors leaving a handler are shown in the error box, and the program carries on.

#include "base/error.h"
#include "tests/wine/support/message_box.h"
#include "ui/win32/application.h"
#include "ui/win32/window.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace vistrel;
using testing_support::MessageBoxCatcher;

namespace {

class ThrowingWindow : public Window {
public:
    void Create() {
        RegisterWindowClass(L"VistrelThrowingTest", 0, nullptr);
        CreateHandle(0, L"VistrelThrowingTest", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr);
    }
    int handled = 0;

private:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_APP) {
            ++handled;
            switch (wParam) {
            case 0:
                throw Error(L"Cannot create file \"C:\\x.jpg\". Access denied.");
            case 1:
                throw Error(L"JPEG error #42");
            case 2:
                throw std::runtime_error("broken");
            }
            return 7;
        }
        return Default(msg, wParam, lParam);
    }
};

class ErrorBox : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!Application.Handle()) {
            Application.Initialize(GetModuleHandleW(nullptr));
            Application.SetTitle(L"Vistrel");
        }
    }
};

} // namespace

TEST_F(ErrorBox, ShowsHandlerErrorsWithTitleStopIconAndFullStopRule) {
    ThrowingWindow w;
    w.Create();
    MessageBoxCatcher catcher;
    EXPECT_EQ(SendMessageW(w.Handle(), WM_APP, 0, 0), 0);
    EXPECT_EQ(SendMessageW(w.Handle(), WM_APP, 1, 0), 0);
    EXPECT_EQ(SendMessageW(w.Handle(), WM_APP, 2, 0), 0);
    ASSERT_TRUE(catcher.WaitForCount(3));
    auto seen = catcher.Seen();
    EXPECT_EQ(seen[0].caption, L"Vistrel");
    EXPECT_EQ(seen[0].text, L"Cannot create file \"C:\\x.jpg\". Access denied.");
    EXPECT_TRUE(seen[0].stopIcon);
    EXPECT_EQ(seen[1].text, L"JPEG error #42.");
    EXPECT_EQ(seen[2].text, L"broken.");

    // The window still answers: the program carried on.
    EXPECT_EQ(SendMessageW(w.Handle(), WM_APP, 9, 0), 7);
    EXPECT_EQ(w.handled, 4);
}
