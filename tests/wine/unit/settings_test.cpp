// The settings file in the running window: every option and the geometry surviving a
// restart, defaults, damaged values and failed writes.

#include "tests/wine/support/main_form_fixture.h"
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

class Settings : public MainFormTest {
protected:
    std::filesystem::path Ini() const { return folder_->Path() / L"vistrel.ini"; }
    std::wstring Saved(const wchar_t* section, const wchar_t* key) const {
        return ReadIni(Ini().wstring(), section, key);
    }
    std::unique_ptr<Program> browser_;
};

TEST_F(Settings, WithoutAFileEverythingHasItsDefault) {
    CreateForm();
    auto& f = *form_;
    RECT r = WindowRect(f.Handle());
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right - r.left, 218);
    EXPECT_EQ(r.bottom - r.top, GetSystemMetrics(SM_CYSCREEN) - 32);
    EXPECT_EQ(f.FType.ItemIndex(), 1);
    EXPECT_EQ(f.JPEGSlider.Position(), 80);
    EXPECT_EQ(f.Label3.Text(), L"80");
    EXPECT_FALSE(f.Scale.Checked());
    EXPECT_TRUE(f.Proportional.Checked());
    EXPECT_EQ(f.ScaleSlider.Position(), 100);
    EXPECT_EQ(f.Label6.Text(), L"100%");
    EXPECT_EQ(f.NameTemplate(), L"image_%.5d");
    // No browser: the stored sizes stay as they are.
    EXPECT_EQ(f.XScale.Text(), L"640");
    EXPECT_EQ(f.YScale.Text(), L"480");
    // Resizing off: its boxes, labels and Proportional are disabled; the slider and its
    // label follow Proportional alone.
    for (TControl* c : {static_cast<TControl*>(&f.XScale), static_cast<TControl*>(&f.YScale),
                        static_cast<TControl*>(&f.Label4), static_cast<TControl*>(&f.Label5),
                        static_cast<TControl*>(&f.Proportional)})
        EXPECT_FALSE(c->Enabled());
    EXPECT_TRUE(f.Label6.Enabled());
    EXPECT_TRUE(f.ScaleSlider.Enabled());
    EXPECT_TRUE(f.JPEGSlider.Enabled());
    EXPECT_TRUE(f.Label2.Enabled());
}

TEST_F(Settings, BmpAndPngTypesDisableTheQualityControlsAndAreKept) {
    for (const char* type : {"0", "2"}) {
        WriteIni(Ini(), std::string("[photo]\ntype=") + type + "\nquality=55\n");
        CreateForm();
        EXPECT_EQ(form_->FType.ItemIndex(), std::stoi(type));
        EXPECT_EQ(form_->JPEGSlider.Position(), 55);
        EXPECT_FALSE(form_->JPEGSlider.Enabled());
        EXPECT_FALSE(form_->Label2.Enabled());
        EXPECT_FALSE(form_->Label3.Enabled());
        EXPECT_EQ(form_->Label3.Text(), L"55");
        DestroyForm();
        EXPECT_EQ(Saved(L"photo", L"type"), std::wstring(type, type + 1));
    }
    // Beyond the list: no entry, written back as -1.
    WriteIni(Ini(), "[photo]\ntype=3\n");
    CreateForm();
    EXPECT_EQ(form_->FType.ItemIndex(), -1);
    DestroyForm();
    EXPECT_EQ(Saved(L"photo", L"type"), L"-1");
}

TEST_F(Settings, OutOfRangeAndDamagedValuesAreBroughtBackOrFallBack) {
    WriteIni(Ini(), "[common]\nleft=abc\ntop=$10\n[photo]\ntype=7\nquality=150\nsfactor=0\n"
                    "scale=\"1\"\nxres=  800  \nyres=\"600\"\nname=photo\n");
    CreateForm();
    auto& f = *form_;
    RECT r = WindowRect(f.Handle());
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 16);
    EXPECT_EQ(f.FType.ItemIndex(), -1);
    EXPECT_TRUE(f.JPEGSlider.Enabled()) << "no entry selected counts as JPEG";
    EXPECT_EQ(f.JPEGSlider.Position(), 100);
    EXPECT_EQ(f.ScaleSlider.Position(), 1);
    EXPECT_EQ(f.Label6.Text(), L"1%");
    EXPECT_TRUE(f.Scale.Checked());
    EXPECT_EQ(f.XScale.Text(), L"800");
    EXPECT_EQ(f.YScale.Text(), L"600");
    EXPECT_EQ(f.NameTemplate(), L"photo");
    DestroyForm();
    EXPECT_EQ(Saved(L"photo", L"type"), L"-1");
    EXPECT_EQ(Saved(L"photo", L"quality"), L"100");
    EXPECT_EQ(Saved(L"photo", L"sfactor"), L"1");
    EXPECT_EQ(Saved(L"photo", L"name"), L"photo");
}

TEST_F(Settings, EveryOptionAndTheGeometrySurviveARestart) {
    CreateForm();
    auto& f = *form_;
    f.SetBounds(300, 120, 260, 650);
    UserChoose(f.FType, 0);
    EXPECT_FALSE(f.JPEGSlider.Enabled());
    UserChoose(f.FType, 1);
    UserScroll(f.JPEGSlider, SB_THUMBTRACK, 42);
    UserScroll(f.JPEGSlider, SB_LINERIGHT);
    UserClick(f.Scale);
    UserClick(f.Proportional); // off
    SetWindowTextW(f.XScale.Handle(), L"1024");
    SetWindowTextW(f.YScale.Handle(), L"abc");
    UserScroll(f.ScaleSlider, SB_PAGELEFT); // 100 → 99
    UserScroll(f.ScaleSlider, SB_LINELEFT); // → 98
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
    EXPECT_EQ(g.FType.ItemIndex(), 1);
    EXPECT_EQ(g.JPEGSlider.Position(), 43);
    EXPECT_EQ(g.Label3.Text(), L"43");
    EXPECT_TRUE(g.Scale.Checked());
    EXPECT_FALSE(g.Proportional.Checked());
    EXPECT_EQ(g.XScale.Text(), L"1024");
    EXPECT_EQ(g.YScale.Text(), L"abc");
    EXPECT_EQ(g.ScaleSlider.Position(), 98);
    EXPECT_FALSE(g.ScaleSlider.Enabled());
    EXPECT_FALSE(g.Label6.Enabled());
    EXPECT_TRUE(g.XScale.Enabled());

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
    EXPECT_EQ(form_->Tag, 0);
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
    EXPECT_EQ(form_->JPEGSlider.Position(), 33);
    form_->JPEGSlider.SetPosition(44);
    DestroyForm();
    EXPECT_EQ(Saved(L"mine", L"keep"), L"yes");
    EXPECT_EQ(Saved(L"photo", L"quality"), L"44");
    EXPECT_GT(std::filesystem::file_size(Ini()), 17u << 20);
}

TEST_F(Settings, WithTheBrowserTheBoxesHoldTheViewAtTheStoredFactor) {
    browser_ =
        std::make_unique<Program>(BuildFolder() / L"aw-standin.exe", L"--view 808x608 --at 300,40");
    ASSERT_NE(browser_->FindTopWindow(L"alphaworld"), nullptr);
    WriteIni(Ini(), "[photo]\nscale=1\nprop=1\nsfactor=50\nxres=640\nyres=480\n");
    CreateForm();
    EXPECT_EQ(form_->XScale.Text(), L"400");
    EXPECT_EQ(form_->YScale.Text(), L"300");
    EXPECT_EQ(form_->Label6.Text(), L"50%");
}
