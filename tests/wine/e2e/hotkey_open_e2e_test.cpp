// The photo hotkey pressed on the real keyboard, and photos opened with the user's own
// program, as a user does both.

#include "capture/png_file.h"
#include "tests/wine/support/images.h"
#include "tests/wine/support/message_box.h"
#include "tests/wine/support/panel_driver.h"
#include "tests/wine/support/user_input.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <memory>
#include <thread>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

// Runs xdotool with the arguments and waits for it.
void Xdotool(const std::wstring& arguments) {
    XdotoolRun hand(arguments);
    ASSERT_TRUE(hand.Started());
    ASSERT_TRUE(WaitFor([&] { return hand.Finished(); }, 20s));
}

// A program installed in a folder of its own, with its settings.
struct Installed {
    TempFolder folder{L"vistrel-hotkey"};
    fs::path exe;
    std::unique_ptr<Program> program;
    std::unique_ptr<PanelDriver> panel;
    explicit Installed(const std::string& settings) {
        exe = InstallProgram(folder.Path());
        WriteText(folder.Path() / L"vistrel.ini", settings);
    }
    void Start() {
        program = std::make_unique<Program>(exe);
        panel = std::make_unique<PanelDriver>(*program);
    }
    fs::path Photos() const { return folder.Path() / L"Photos"; }
    ~Installed() {
        if (panel && program->Running()) {
            panel->Close();
            program->WaitExit(10s);
        }
    }
};

} // namespace

class Hotkey : public ::testing::Test {
protected:
    void SetUp() override {
        browser_ = std::make_unique<Program>(BuildFolder() / L"aw-standin.exe",
                                             L"--view 328x248 --at 600,40");
        standin_ = browser_->FindShownWindow(L"alphaworld");
        ASSERT_NE(standin_, nullptr);
    }
    // Gives the browser the keyboard, as a click on it does.
    void FocusBrowser() {
        RECT r;
        GetWindowRect(standin_, &r);
        Xdotool(L"mousemove " + std::to_wstring(r.left + 40) + L" " + std::to_wstring(r.top + 60) +
                L" click 1");
        WaitFor([&] { return GetForegroundWindow() == standin_; });
    }
    std::unique_ptr<Program> browser_;
    HWND standin_ = nullptr;
};

TEST_F(Hotkey, TakesAPhotoFromAnotherProgramWhichKeepsTheKeyboard) {
    Installed vistrel("[photo]\nhotkey=shift + CTRL + f9\n");
    vistrel.Start();
    ASSERT_TRUE(vistrel.panel->Found());
    MessageBoxCatcher boxes(vistrel.program->Id());
    FocusBrowser();
    ASSERT_EQ(GetForegroundWindow(), standin_);
    Xdotool(L"key ctrl+shift+F9");
    // Named once written: the temporary file it is written to may be seen first.
    const std::vector<std::wstring> photo{L"image_00001.jpg"};
    EXPECT_TRUE(WaitFor([&] { return FilesIn(vistrel.Photos()) == photo; }));
    // The photo is done when it is selected in the list; the browser is still in front.
    ASSERT_TRUE(WaitFor([&] { return vistrel.panel->SelectedItem() == L"image_00001.jpg"; }));
    vistrel.panel->Idle();
    EXPECT_EQ(GetForegroundWindow(), standin_);
    EXPECT_TRUE(IsWindowVisible(vistrel.panel->Main()));
    // Minimised, the program takes photos by the hotkey and stays minimised.
    HWND app = vistrel.program->FindTopWindow(L"TApplication");
    SendMessageW(app, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(vistrel.panel->Main()); }));
    FocusBrowser();
    Xdotool(L"key ctrl+shift+F9");
    ASSERT_TRUE(WaitFor([&] { return vistrel.panel->SelectedItem() == L"image_00002.jpg"; }));
    vistrel.panel->Idle();
    EXPECT_FALSE(IsWindowVisible(vistrel.panel->Main()));
    EXPECT_TRUE(IsIconic(app));
    SendMessageW(app, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(boxes.Seen().empty());
    // Written back in its canonical form.
    vistrel.panel->Close();
    EXPECT_EQ(vistrel.program->WaitExit(10s), 0);
    EXPECT_EQ(ReadIni((vistrel.folder.Path() / L"vistrel.ini").wstring(), L"photo", L"hotkey"),
              L"Ctrl+Shift+F9");
}

TEST_F(Hotkey, AWindowThatPoppedUpOverTheViewIsNeverInThePhotoThoughTheBrowserHasTheKeyboard) {
    Installed vistrel("[photo]\ntype=0\nhotkey=Ctrl+Shift+F9\n");
    vistrel.Start();
    ASSERT_TRUE(vistrel.panel->Found());
    auto coverShows = [] {
        HDC screen = GetDC(nullptr);
        COLORREF c = GetPixel(screen, 775, 170);
        ReleaseDC(nullptr, screen);
        return c == RGB(255, 0, 255);
    };
    FocusBrowser();
    for (int i = 1; i <= 10; ++i) {
        SCOPED_TRACE(testing::Message() << "photo " << i);
        // Another program's window pops up over the view, and the browser keeps the keyboard.
        Program cover(BuildFolder() / L"cover-window.exe", L"700 120 150 100");
        ASSERT_NE(cover.FindShownWindow(L"CoverWindow"), nullptr);
        ASSERT_TRUE(WaitFor(coverShows));
        ASSERT_EQ(GetForegroundWindow(), standin_);
        Xdotool(L"key ctrl+shift+F9");
        ASSERT_TRUE(WaitFor([&] { return FilesIn(vistrel.Photos()).size() == size_t(i); }));
        ASSERT_TRUE(vistrel.panel->WaitForPhotos());
        wchar_t name[32];
        swprintf(name, 32, L"image_%05d.bmp", i);
        RgbImage image = ReadBmp(ReadAll(vistrel.Photos() / name));
        ASSERT_EQ(image.width, 320);
        EXPECT_EQ(PixelsOffPattern(image, 4, 4), 0);
    }
}

TEST_F(Hotkey, PressesBehindAPhotoWhoseViewWentAreDroppedNotKeptForALaterPress) {
    // The panel lies over the view, so the first photo gives the screen its time to settle,
    // and the presses behind it are queued meanwhile.
    Installed vistrel("[common]\nleft=720\ntop=60\n[photo]\nhotkey=Ctrl+Shift+F9\n");
    vistrel.Start();
    ASSERT_TRUE(vistrel.panel->Found());
    MessageBoxCatcher boxes(vistrel.program->Id());
    FocusBrowser();
    // Three quick presses; the browser's view goes the moment the first photo hides the
    // panel, so the presses behind it find none.
    std::atomic<bool> gone{false};
    std::thread browser([&] {
        gone = WaitFor([&] { return !IsWindowVisible(vistrel.panel->Main()); }, 20s);
        PostMessageW(standin_, WM_APP + 1, 0, 0);
    });
    Xdotool(L"key --delay 20 ctrl+shift+F9 ctrl+shift+F9 ctrl+shift+F9");
    browser.join();
    ASSERT_TRUE(gone);
    ASSERT_TRUE(vistrel.panel->WaitForPhotos());
    const size_t before = FilesIn(vistrel.Photos()).size();
    ASSERT_LE(before, 1u);

    // Much later, with the view back: one press, one photo, never one left over from then.
    PostMessageW(standin_, WM_APP + 2, 0, 0);
    ASSERT_TRUE(WaitFor([&] {
        return FindWindowExW(standin_, nullptr, L"Active Worlds Viewport", nullptr) != nullptr;
    }));
    FocusBrowser();
    Xdotool(L"key ctrl+shift+F9");
    ASSERT_TRUE(WaitFor([&] { return FilesIn(vistrel.Photos()).size() > before; }));
    ASSERT_TRUE(vistrel.panel->WaitForPhotos());
    EXPECT_EQ(FilesIn(vistrel.Photos()).size(), before + 1);
    EXPECT_TRUE(boxes.Seen().empty());
}

TEST_F(Hotkey, ASecondProgramWithTheSameHotkeyTellsOnceAndWorksOnWithoutIt) {
    Installed first("[photo]\nhotkey=Ctrl+Shift+F9\n");
    Installed second("[photo]\nhotkey=Ctrl+Shift+F9\n");
    first.Start();
    ASSERT_TRUE(first.panel->Found());
    second.program = std::make_unique<Program>(second.exe);
    MessageBoxCatcher boxes(second.program->Id());
    ASSERT_TRUE(boxes.WaitForCount(1));
    second.panel = std::make_unique<PanelDriver>(*second.program);
    ASSERT_TRUE(second.panel->Found());
    second.panel->Idle();
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, L"Hotkey Ctrl+Shift+F9 is in use by another program. "
                                    L"Choose another one in the menu.");
    // The second takes photos by its button; the first still by the hotkey.
    ASSERT_TRUE(second.panel->ClickAndWait(second.panel->PhotoButton()));
    EXPECT_EQ(FilesIn(second.Photos()).size(), 1u);
    FocusBrowser();
    Xdotool(L"key ctrl+shift+F9");
    EXPECT_TRUE(WaitFor(
        [&] { return FilesIn(first.Photos()) == std::vector<std::wstring>{L"image_00001.jpg"}; }));
    EXPECT_EQ(FilesIn(second.Photos()).size(), 1u);
    // Kept in the settings as chosen.
    second.panel->Close();
    EXPECT_EQ(second.program->WaitExit(10s), 0);
    EXPECT_EQ(ReadIni((second.folder.Path() / L"vistrel.ini").wstring(), L"photo", L"hotkey"),
              L"Ctrl+Shift+F9");
}

namespace {

// A program for a file type that writes down what it was asked to open, registered for
// the time of a test (as HKEY_CLASSES_ROOT of the test's own Wine prefix).
class Association {
public:
    Association(const wchar_t* extension, const fs::path& log) : extension_(extension) {
        RegGetValueW(HKEY_CLASSES_ROOT, extension_, nullptr, RRF_RT_REG_SZ, nullptr, old_,
                     &oldSize_);
        hadOld_ = oldSize_ > 0;
        Set(extension_, L"vistrel.test.viewer");
        const std::wstring command = L"\"" + (BuildFolder() / L"open-recorder.exe").wstring() +
                                     L"\" \"" + log.wstring() + L"\" \"%1\"";
        if (log.empty())
            return; // a type with no program: no command at all
        Set(L"vistrel.test.viewer\\shell\\open\\command", command.c_str());
    }
    ~Association() {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"vistrel.test.viewer");
        if (hadOld_)
            Set(extension_, old_);
        else
            RegDeleteKeyW(HKEY_CLASSES_ROOT, extension_);
    }

private:
    static void Set(const wchar_t* key, const wchar_t* value) {
        RegSetKeyValueW(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, value,
                        static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
    }
    const wchar_t* extension_;
    wchar_t old_[256]{};
    DWORD oldSize_ = sizeof old_;
    bool hadOld_ = false;
};

} // namespace

TEST(OpenPhoto, EnterADoubleClickAndTheMenuEntryOpenTheSelectedPhoto) {
    Installed vistrel("[photo]\ntype=0\n");
    fs::create_directories(vistrel.Photos());
    WriteText(vistrel.Photos() / L"a.bmp", "");
    WriteText(vistrel.Photos() / L"b.bmp", "");
    TempFolder logs(L"vistrel-opened");
    const fs::path log = logs.Path() / L"opened.txt";
    Association viewer(L".bmp", log);
    vistrel.Start();
    ASSERT_TRUE(vistrel.panel->Found());
    MessageBoxCatcher boxes(vistrel.program->Id());
    HWND list = vistrel.panel->List();
    auto itemCentre = [&](int index) {
        RECT item{};
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&item));
        POINT p{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
        ClientToScreen(list, &p);
        return p;
    };
    auto opened = [&](const wchar_t* name) {
        bool seen = WaitFor([&] {
            std::string text = ReadText(log);
            return text.find(fs::path(name).string()) != std::string::npos;
        });
        fs::remove(log);
        return seen;
    };
    SetForegroundWindow(vistrel.panel->Main());
    // Enter on the selected item.
    ClickAt(itemCentre(1));
    ASSERT_TRUE(WaitFor([&] { return vistrel.panel->SelectedItem() == L"b.bmp"; }));
    PressKey(VK_RETURN);
    EXPECT_TRUE(opened(L"b.bmp")) << "Enter";
    // A double-click on an item.
    POINT a = itemCentre(0);
    Xdotool(L"mousemove " + std::to_wstring(a.x) + L" " + std::to_wstring(a.y) +
            L" click --repeat 2 --delay 80 1");
    EXPECT_TRUE(opened(L"a.bmp")) << "double-click";
    // The menu: "Свернуть", a separator, then "Открыть".
    ClickAt(itemCentre(0), /*right=*/true);
    ASSERT_NE(WaitForPopupMenu(), nullptr);
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    EXPECT_TRUE(opened(L"a.bmp")) << "menu";
    vistrel.panel->Idle();
    EXPECT_TRUE(boxes.Seen().empty());
}

TEST(OpenPhoto, ATypeWithNoProgramBringsTheSystemsChoiceOfProgram) {
    Installed vistrel("");
    fs::create_directories(vistrel.Photos());
    vistrel::PixelBuffer pixels(8, 8, 32);
    auto png = vistrel::EncodePng(pixels.View());
    WriteText(vistrel.Photos() / L"a.png", std::string(png.begin(), png.end()));
    Association none(L".png", fs::path());
    vistrel.Start();
    ASSERT_TRUE(vistrel.panel->Found());
    MessageBoxCatcher boxes(vistrel.program->Id());
    SetForegroundWindow(vistrel.panel->Main());
    HWND list = vistrel.panel->List();
    RECT item{};
    SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    POINT p{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ClientToScreen(list, &p);
    ClickAt(p);
    ASSERT_TRUE(WaitFor([&] { return vistrel.panel->SelectedItem() == L"a.png"; }));
    PressKey(VK_RETURN);
    // Wine has no "Open with" dialog: its shell's answer to the choice is a notice of its
    // own, not the program's error box ("Vistrel", "Cannot open file ...").
    ASSERT_TRUE(boxes.WaitForCount(1));
    const SeenBox shown = boxes.Seen()[0];
    EXPECT_EQ(shown.caption, L"Error");
    EXPECT_EQ(shown.text, L"There is no Windows program configured to open this type of file.");
    vistrel.panel->Idle();
    EXPECT_EQ(boxes.Seen().size(), 1u) << boxes.Seen().back().text;
}
