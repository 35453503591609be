// The settings file in the running window: every option and the geometry surviving a
// restart, defaults, damaged values and failed writes.

#include "tests/wine/support/main_window_fixture.h"
#include "tests/wine/support/message_box.h"

#include <fstream>
#include <sstream>

using namespace testing_support;
using vistrel::TControl;

namespace {

// A settings file as a person would write it: plain ASCII text.
void WriteIni(const std::filesystem::path& path, const std::string& text) {
    WriteFile(path, text);
}

} // namespace

class Settings : public MainWindowTest {
protected:
    std::filesystem::path Ini() const { return folder_->Path() / L"vistrel.ini"; }
    std::wstring Saved(const wchar_t* section, const wchar_t* key) const {
        return ReadIni(Ini().wstring(), section, key);
    }
    std::unique_ptr<Program> browser_;
};

TEST_F(Settings, WithoutAFileTheWindowOpensAtTheDefaultsAndTheControlsShowTheValues) {
    CreateForm();
    auto& f = *form_;
    RECT r = WindowRect(f.Handle());
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right - r.left, 218);
    EXPECT_EQ(r.bottom - r.top, GetSystemMetrics(SM_CYSCREEN) - 32);
    EXPECT_EQ(f.TypeBox.ItemIndex(), 1);
    EXPECT_EQ(f.QualitySlider.Position(), 80);
    EXPECT_EQ(f.QualityNumber.Text(), L"80");
    EXPECT_FALSE(f.ResizeBox.Checked());
    EXPECT_TRUE(f.ProportionalBox.Checked());
    EXPECT_EQ(f.PercentSlider.Position(), 100);
    EXPECT_EQ(f.PercentNumber.Text(), L"100%");
    // No browser: the stored sizes stay as they are.
    EXPECT_EQ(f.WidthBox.Text(), L"640");
    EXPECT_EQ(f.HeightBox.Text(), L"480");
    // Resizing off: its boxes, labels and the proportional box are disabled; the slider and
    // its label follow the proportional box alone.
    for (TControl* c :
         {static_cast<TControl*>(&f.WidthBox), static_cast<TControl*>(&f.HeightBox),
          static_cast<TControl*>(&f.WidthLabel), static_cast<TControl*>(&f.HeightLabel),
          static_cast<TControl*>(&f.ProportionalBox)})
        EXPECT_FALSE(c->Enabled());
    EXPECT_TRUE(f.PercentNumber.Enabled());
    EXPECT_TRUE(f.PercentSlider.Enabled());
    EXPECT_TRUE(f.QualitySlider.Enabled());
    EXPECT_TRUE(f.QualityLabel.Enabled());
    DestroyForm();

    // A PNG type greys out the quality controls, which still show the stored quality.
    WriteIni(Ini(), "[photo]\ntype=2\nquality=55\n");
    CreateForm();
    EXPECT_EQ(form_->TypeBox.ItemIndex(), 2);
    EXPECT_EQ(form_->QualityNumber.Text(), L"55");
    EXPECT_FALSE(form_->QualitySlider.Enabled());
    EXPECT_FALSE(form_->QualityNumber.Enabled());
}

TEST_F(Settings, EveryOptionAndTheGeometrySurviveARestart) {
    CreateForm();
    auto& f = *form_;
    f.SetBounds(300, 120, 260, 650);
    UserChoose(f.TypeBox, 0);
    EXPECT_FALSE(f.QualitySlider.Enabled());
    UserChoose(f.TypeBox, 1);
    UserScroll(f.QualitySlider, SB_THUMBTRACK, 42);
    UserScroll(f.QualitySlider, SB_LINERIGHT);
    UserClick(f.ResizeBox);
    UserClick(f.ProportionalBox); // off
    SetWindowTextW(f.WidthBox.Handle(), L"1024");
    SetWindowTextW(f.HeightBox.Handle(), L"abc");
    UserScroll(f.PercentSlider, SB_PAGELEFT); // 100 → 99
    UserScroll(f.PercentSlider, SB_LINELEFT); // → 98
    Pump();
    RECT before = WindowRect(f.Handle());
    DestroyForm();

    CreateForm();
    auto& g = *form_;
    RECT after = WindowRect(g.Handle());
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    EXPECT_EQ(g.TypeBox.ItemIndex(), 1);
    EXPECT_EQ(g.QualitySlider.Position(), 43);
    EXPECT_EQ(g.QualityNumber.Text(), L"43");
    EXPECT_TRUE(g.ResizeBox.Checked());
    EXPECT_FALSE(g.ProportionalBox.Checked());
    EXPECT_EQ(g.WidthBox.Text(), L"1024");
    EXPECT_EQ(g.HeightBox.Text(), L"abc");
    EXPECT_EQ(g.PercentSlider.Position(), 98);
    EXPECT_FALSE(g.PercentSlider.Enabled());
    EXPECT_FALSE(g.PercentNumber.Enabled());
    EXPECT_TRUE(g.WidthBox.Enabled());

    // Keys in the table's order, every value written.
    DestroyForm();
    std::ifstream in(Ini(), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(static_cast<uint8_t>(bytes[0]), 0xFF) << "a Unicode file";
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    size_t at = 0;
    for (const wchar_t* key :
         {L"[common]", L"top=", L"left=", L"width=", L"height=", L"[photo]", L"type=", L"quality=",
          L"scale=", L"xres=", L"yres=", L"prop=", L"sfactor=", L"name="}) {
        size_t found = text.find(key, at);
        ASSERT_NE(found, std::wstring::npos) << key;
        at = found;
    }
}

TEST_F(Settings, ExitingRolledUpStoresTheClientHeightItWillUnrollTo) {
    CreateForm();
    form_->SetBounds(100, 100, 218, 600);
    int client = form_->ClientHeight();
    SendMessageW(form_->Handle(), WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    Pump();
    DestroyForm();
    EXPECT_EQ(Saved(L"common", L"height"), std::to_wstring(client));
    CreateForm();
    RECT r = WindowRect(form_->Handle());
    EXPECT_EQ(r.bottom - r.top, client) << "the next start takes it as the outer height";
    EXPECT_EQ(form_->UnrolledHeight(), 0);
}

TEST_F(Settings, StoredPositionsSnapExceptZeroZeroAndOffScreenWindowsComeBack) {
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    WriteIni(Ini(), "[common]\nleft=5\ntop=200\nwidth=100\nheight=500\n");
    CreateForm();
    RECT r = WindowRect(form_->Handle());
    EXPECT_EQ(r.left, work.left);
    EXPECT_EQ(r.right - r.left, 218) << "never narrower than the minimum";
    DestroyForm();

    WriteIni(Ini(), "[common]\nleft=40000\ntop=-30000\nwidth=218\nheight=1000000000\n");
    CreateForm();
    r = WindowRect(form_->Handle());
    EXPECT_EQ(r.left, work.left);
    EXPECT_EQ(r.top, work.top);
    EXPECT_LE(r.bottom - r.top, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(MonitorFromRect(&r, MONITOR_DEFAULTTONULL) != nullptr);
    DestroyForm();

    // Valid numbers at the very end of the range: the window and its photo button are on
    // the screen.
    WriteIni(Ini(), "[common]\nleft=2147483647\ntop=2147483647\nwidth=2147483647\n"
                    "height=-2147483648\n");
    CreateForm();
    r = WindowRect(form_->Handle());
    EXPECT_TRUE(MonitorFromRect(&r, MONITOR_DEFAULTTONULL) != nullptr);
    RECT button = WindowRect(form_->PhotoButton.Handle()),
         screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT shown;
    EXPECT_TRUE(IntersectRect(&shown, &button, &screen) && EqualRect(&shown, &button));
}

TEST_F(Settings, UnwritableFileIsReportedOnceAndTheOldFileIsKept) {
    // A folder of the file's name cannot be written, not even by root.
    std::filesystem::create_directories(Ini());
    CreateForm();
    MessageBoxCatcher boxes;
    DestroyForm(); // returns when the box it showed is closed
    auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, L"Unable to write to " + Ini().wstring() + L".");
    EXPECT_TRUE(std::filesystem::is_directory(Ini()));
    // No temporary file is left beside it.
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator(folder_->Path()))
        files += e.is_regular_file();
    EXPECT_EQ(files, 0);
}

TEST_F(Settings, AFailedWriteLeavesTheOldFileAsItWas) {
    WriteIni(Ini(), "[photo]\nquality=33\nnote=the user's own\n[elsewhere]\nkey=kept\n");
    std::string before = [&] {
        std::ifstream in(Ini(), std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    }();
    CreateForm();
    // The copy the settings are written to cannot be made.
    auto blocked =
        folder_->Path() / (L"vistrel.ini." + std::to_wstring(GetCurrentProcessId()) + L".tmp");
    std::filesystem::create_directories(blocked);
    MessageBoxCatcher boxes;
    DestroyForm();
    ASSERT_TRUE(boxes.WaitForCount(1));
    EXPECT_EQ(boxes.Seen()[0].text, L"Unable to write to " + Ini().wstring() + L".");
    std::ifstream in(Ini(), std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), {}), before);
    std::filesystem::remove(blocked);

    // Written again, the user's own keys are kept.
    CreateForm();
    DestroyForm();
    EXPECT_EQ(Saved(L"photo", L"note"), L"the user's own");
    EXPECT_EQ(Saved(L"elsewhere", L"key"), L"kept");
    EXPECT_EQ(Saved(L"photo", L"quality"), L"33");
}

TEST_F(Settings, AUtf8FileWithoutItsMarkIsReadAsUtf8AndKeptInUnicode) {
    // As a text editor saves it: UTF-8, no byte-order mark.
    WriteIni(Ini(), "[photo]\nname=\xD1\x84\xD0\xBE\xD1\x82\xD0\xBE_%.3d\n[mine]\nnote="
                    "\xD0\xBC\xD0\xBE\xD1\x91\n");
    CreateForm();
    EXPECT_EQ(form_->Options().nameTemplate, L"фото_%.3d");
    DestroyForm();
    EXPECT_EQ(Saved(L"photo", L"name"), L"фото_%.3d");
    EXPECT_EQ(Saved(L"mine", L"note"), L"моё");
}

TEST_F(Settings, AHotkeyThatCannotBeReadIsToldOnceAtStartAndKeptInTheFile) {
    WriteIni(Ini(), "[photo]\nhotkey=Ctrl+Shift+\xD0\xA4\n"); // Ф, from a text editor
    MessageBoxCatcher boxes;
    CreateForm();
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_NE(boxes.Seen()[0].text.find(L"Ctrl+Shift+Ф"), std::wstring::npos)
        << boxes.Seen()[0].text;
    EXPECT_TRUE(form_->PhotoHotkey().None());
    DestroyForm();
    EXPECT_EQ(Saved(L"photo", L"hotkey"), L"Ctrl+Shift+Ф") << "the user's text is kept";
    EXPECT_EQ(boxes.Seen().size(), 1u);
}

TEST_F(Settings, TheHotkeyIsTakenWhateverThePhotosFolderDoesAndEachFailureIsToldOnItsOwn) {
    WriteIni(Ini(), "[photo]\nhotkey=Ctrl+Shift+F8\n");
    WriteFile(Photos()); // a file where the folder should be
    MessageBoxCatcher boxes;
    CreateForm();
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text.rfind(L"Cannot open folder", 0), 0u) << boxes.Seen()[0].text;
    // The key is the program's: no other can have it.
    EXPECT_FALSE(RegisterHotKey(nullptr, 9, MOD_CONTROL | MOD_SHIFT, VK_F8));
    UnregisterHotKey(nullptr, 9);
    // Held by another program as well: two boxes, one for each.
    DestroyForm();
    ASSERT_TRUE(RegisterHotKey(nullptr, 9, MOD_CONTROL | MOD_SHIFT, VK_F8));
    CreateForm();
    UnregisterHotKey(nullptr, 9);
    ASSERT_EQ(boxes.Seen().size(), 3u);
    EXPECT_EQ(boxes.Seen()[1].text.rfind(L"Cannot open folder", 0), 0u) << boxes.Seen()[1].text;
    EXPECT_EQ(boxes.Seen()[2].text.rfind(L"Hotkey Ctrl+Shift+F8 is in use", 0), 0u)
        << boxes.Seen()[2].text;
}

TEST_F(Settings, TheUsersOwnSectionsSurviveInAFileOfAnySize) {
    // Over 16 MiB of the user's own keys, with a section of theirs at the end.
    {
        std::ofstream out(Ini(), std::ios::binary);
        out << "[photo]\nquality=33\n[pad]\n";
        std::string line = "k=" + std::string(1000, 'x') + "\n";
        for (int i = 0; i < 17 * 1024; ++i)
            out << line;
        out << "[mine]\nkeep=yes\n";
    }
    CreateForm();
    EXPECT_EQ(form_->QualitySlider.Position(), 33);
    form_->QualitySlider.SetPosition(44);
    DestroyForm();
    EXPECT_EQ(Saved(L"mine", L"keep"), L"yes");
    EXPECT_EQ(Saved(L"photo", L"quality"), L"44");
    EXPECT_GT(std::filesystem::file_size(Ini()), 17u << 20);
}

TEST_F(Settings, WithTheBrowserTheBoxesHoldTheViewAtTheStoredFactor) {
    browser_ =
        std::make_unique<Program>(BuildFolder() / L"aw-standin.exe", L"--view 808x608 --at 300,40");
    ASSERT_NE(browser_->FindShownWindow(L"alphaworld"), nullptr);
    WriteIni(Ini(), "[photo]\nscale=1\nprop=1\nsfactor=50\nxres=640\nyres=480\n");
    CreateForm();
    EXPECT_EQ(form_->WidthBox.Text(), L"400");
    EXPECT_EQ(form_->HeightBox.Text(), L"300");
    EXPECT_EQ(form_->PercentNumber.Text(), L"50%");
}
