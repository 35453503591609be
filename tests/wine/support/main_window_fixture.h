#pragma once
// The main window created in the test's own process, on a program path in a fresh
// temporary folder (so its Photos folder and settings are the test's own).

#include "app/win32/main_window.h"
#include "tests/wine/support/program.h"
#include "ui/win32/application.h"

#include <gtest/gtest.h>

#include <memory>

namespace testing_support {

class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Creates (or re-creates) the window; settings or files can be prepared before.
    void CreateForm();
    void DestroyForm();
    // Dispatches pending messages and runs the idle step, as the message loop would.
    void Pump();
    // Runs the loop until no photo is under way or waits; false after the timeout.
    bool WaitForPhotos(std::chrono::milliseconds timeout = 30s);
    // A click on the photo button, and the loop run until the photo has ended.
    bool TakePhoto();
    // Whether the program asked for its loop to end since the window was made.
    bool quitAsked_ = false;

    std::wstring ProgramPath() const { return (folder_->Path() / L"vistrel.exe").wstring(); }
    std::filesystem::path Photos() const { return folder_->Path() / L"Photos"; }
    RECT WindowRect(HWND hwnd) const;
    RECT ClientRectOf(HWND hwnd) const;

    std::unique_ptr<TempFolder> folder_;
    std::unique_ptr<vistrel::MainWindow> form_;
};

// Expects the window's measures laid out for a screen of this DPI: the buttons, the preview's
// 4:3, the list's lines, the font, the minimum width.
void ExpectLaidOutFor(vistrel::MainWindow& f, int dpi);

// What a user's click on a check box does.
void UserClick(vistrel::TControl& checkBox);
// What the scroll bar reports to its parent for the user's arrows, trough and thumb.
void UserScroll(vistrel::TControl& bar, int code, int thumb = 0);
// A user's choice in a drop-down list.
void UserChoose(vistrel::TComboBox& box, int index);

// Writes an empty file (or one with the given bytes).
void WriteFile(const std::filesystem::path& path, const std::string& bytes = "");

} // namespace testing_support
