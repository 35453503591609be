// What can be done with the selected photo besides showing it: copying it to the
// clipboard, and choosing the hotkey that takes photos.

#include "album/jpeg_reader.h"
#include "capture/bmp_file.h"
#include "capture/jpeg_file.h"
#include "capture/png_file.h"
#include "tests/wine/support/main_window_fixture.h"
#include "tests/wine/support/message_box.h"

#include <shellapi.h>

#include <cstring>
#include <functional>

using namespace testing_support;
using vistrel::PixelBuffer;

namespace {

PixelBuffer Pattern(int w, int h) {
    PixelBuffer p(w, h, 32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* px = p.Row(y) + 4 * x;
            px[0] = static_cast<uint8_t>(x * 4), px[1] = static_cast<uint8_t>(y * 5);
            px[2] = static_cast<uint8_t>(x ^ y), px[3] = 0;
        }
    return p;
}

std::string Bytes(const std::vector<uint8_t>& v) {
    return std::string(v.begin(), v.end());
}

struct Copied {
    BITMAPINFOHEADER header{};
    std::vector<uint8_t> rows; // bottom-up, as on the clipboard
    std::wstring file;
    std::wstring text;
};

Copied ReadClipboard() {
    Copied c;
    if (!OpenClipboard(nullptr))
        return c;
    if (HGLOBAL dib = GetClipboardData(CF_DIB)) {
        auto* p = static_cast<const uint8_t*>(GlobalLock(dib));
        std::memcpy(&c.header, p, sizeof c.header);
        c.rows.assign(p + sizeof c.header, p + GlobalSize(dib));
        GlobalUnlock(dib);
    }
    if (HANDLE drop = GetClipboardData(CF_HDROP)) {
        wchar_t name[MAX_PATH * 2]{};
        DragQueryFileW(static_cast<HDROP>(drop), 0, name, MAX_PATH * 2);
        c.file = name;
    }
    if (HGLOBAL text = GetClipboardData(CF_UNICODETEXT)) {
        c.text = static_cast<const wchar_t*>(GlobalLock(text));
        GlobalUnlock(text);
    }
    CloseClipboard();
    return c;
}

void PutText(const wchar_t* text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(memory), text, bytes);
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

} // namespace

class PhotoActions : public MainWindowTest {
protected:
    // Ctrl+C on the list with this photo selected.
    void CopyWithKeys(const wchar_t* name) {
        form_->PhotoList.SelectByPath((Photos() / name).wstring());
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
        SetKeyboardState(keys);
        SendMessageW(form_->PhotoList.Handle(), WM_KEYDOWN, 'C', 0);
        keys[VK_CONTROL] = keys[VK_LCONTROL] = 0;
        SetKeyboardState(keys);
        Pump();
    }
};

TEST_F(PhotoActions, CtrlCPutsThePixelsAndTheFileOnTheClipboard) {
    std::filesystem::create_directories(Photos());
    PixelBuffer picture = Pattern(64, 48);
    auto bmp = vistrel::BmpFileHeaders(picture.View());
    bmp.insert(bmp.end(), picture.bits.begin(), picture.bits.end());
    WriteFile(Photos() / L"a.bmp", Bytes(bmp));
    auto jpeg = vistrel::EncodeJpeg(picture.View(), 90);
    WriteFile(Photos() / L"b.jpg", Bytes(jpeg));
    WriteFile(Photos() / L"c.png", Bytes(vistrel::EncodePng(picture.View())));
    CreateForm();

    // A BMP: its own 32-bit rows, the same colours, opaque (alpha 255, not the file's 0).
    CopyWithKeys(L"a.bmp");
    Copied c = ReadClipboard();
    EXPECT_EQ(c.header.biWidth, 64);
    EXPECT_EQ(c.header.biHeight, 48);
    EXPECT_EQ(c.header.biBitCount, 32);
    std::vector<uint8_t> opaque = picture.bits;
    for (size_t i = 3; i < opaque.size(); i += 4)
        opaque[i] = 255;
    EXPECT_EQ(c.rows, opaque);
    EXPECT_EQ(c.file, (Photos() / L"a.bmp").wstring());

    // A BMP of 256 colours and an odd width: drawn into 24-bit rows, padding and all.
    PixelBuffer indexed(63, 5, 8);
    for (uint32_t i = 0; i < 256; ++i)
        indexed.palette.push_back(i << 16 | (255 - i) << 8 | (i * 7 & 255));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 63; ++x)
            indexed.Row(y)[x] = static_cast<uint8_t>(x * 4 + y);
    auto indexedBmp = vistrel::BmpFileHeaders(indexed.View());
    indexedBmp.insert(indexedBmp.end(), indexed.bits.begin(), indexed.bits.end());
    WriteFile(Photos() / L"d.bmp", Bytes(indexedBmp));
    form_->PhotoList.Reread();
    CopyWithKeys(L"d.bmp");
    c = ReadClipboard();
    ASSERT_EQ(c.header.biBitCount, 24);
    std::vector<uint8_t> want((63 * 3 + 3) / 4 * 4 * 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 63; ++x) {
            uint32_t colour = indexed.palette[indexed.Row(y)[x]];
            uint8_t* px = want.data() + (4 - y) * (want.size() / 5) + 3 * x;
            px[0] = static_cast<uint8_t>(colour), px[1] = static_cast<uint8_t>(colour >> 8);
            px[2] = static_cast<uint8_t>(colour >> 16);
        }
    EXPECT_EQ(c.rows, want);

    // A JPEG: 24-bit rows as its decoder gives them; a PNG: the very pixels.
    auto decoded = vistrel::DecodeJpeg(jpeg, false);
    for (const wchar_t* name : {L"b.jpg", L"c.png"}) {
        SCOPED_TRACE(testing::Message() << name);
        CopyWithKeys(name);
        c = ReadClipboard();
        ASSERT_EQ(c.header.biWidth, 64);
        ASSERT_EQ(c.header.biHeight, 48);
        ASSERT_EQ(c.header.biBitCount, 24);
        int wrong = 0;
        const size_t stride = (64 * 3 + 3) & ~size_t{3};
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x) {
                const uint8_t* got = c.rows.data() + (47 - y) * stride + 3 * x;
                const uint8_t* want = name[0] == L'b'
                                          ? decoded.bits.data() + y * decoded.stride + 3 * x
                                          : picture.Row(y) + 4 * x;
                wrong += got[0] != want[0] || got[1] != want[1] || got[2] != want[2];
            }
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(c.file, (Photos() / name).wstring());
    }
}

TEST_F(PhotoActions, APhotoThatCannotBeDecodedIsReportedAndTheClipboardKept) {
    std::filesystem::create_directories(Photos());
    WriteFile(Photos() / L"bad.jpg", "not a picture at all");
    CreateForm();
    PutText(L"kept");
    MessageBoxCatcher boxes;
    form_->PhotoList.SelectByPath((Photos() / L"bad.jpg").wstring());
    vistrel::Guarded([&] { form_->OnCopyClick(); });
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text.rfind(L"JPEG error #", 0), 0u) << boxes.Seen()[0].text;
    Copied c = ReadClipboard();
    EXPECT_EQ(c.text, L"kept");
    EXPECT_TRUE(c.file.empty());
}

TEST_F(PhotoActions, AHotkeyIsChosenClearedAndOneTakenIsRefusedWithTheOldOneKept) {
    const std::wstring ini = (folder_->Path() / L"vistrel.ini").wstring();
    WriteFile(ini, "[photo]\nhotkey=Win+F9\n");
    CreateForm();
    // Another program's hotkey.
    ASSERT_TRUE(RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_SHIFT, VK_F10));
    auto inUse = [](UINT modifiers, UINT key) {
        if (!RegisterHotKey(nullptr, 8, modifiers, key))
            return true;
        UnregisterHotKey(nullptr, 8);
        return false;
    };
    // In the dialog: each value is set as the control would take it, then "ОК" is clicked.
    auto choose = [&](std::function<void(HWND dialog, HWND control)> user) {
        form_->OnHotkeyClick();
        HWND dialog = form_->HotkeyChoice.Handle();
        ASSERT_TRUE(IsWindowVisible(dialog));
        EXPECT_FALSE(IsWindowEnabled(form_->Handle())) << "the panel waits for the dialog";
        user(dialog, FindWindowExW(dialog, nullptr, HOTKEY_CLASSW, nullptr));
        Pump();
        EXPECT_FALSE(IsWindowVisible(dialog));
        EXPECT_TRUE(IsWindowEnabled(form_->Handle()));
    };
    auto set = [](HWND control, BYTE key, BYTE flags) {
        SendMessageW(control, HKM_SETHOTKEY, MAKEWORD(key, flags), 0);
    };

    // The control cannot show Win: "ОК" on the hotkey as shown keeps it whole.
    choose([&](HWND dialog, HWND) { PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0); });
    EXPECT_EQ(form_->PhotoHotkey(), (vistrel::Hotkey{MOD_WIN, VK_F9}));

    choose([&](HWND dialog, HWND control) {
        set(control, VK_F11, HOTKEYF_CONTROL | HOTKEYF_ALT);
        PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(form_->PhotoHotkey(), (vistrel::Hotkey{MOD_CONTROL | MOD_ALT, VK_F11}));
    EXPECT_TRUE(inUse(MOD_CONTROL | MOD_ALT, VK_F11));

    MessageBoxCatcher boxes;
    bool stayedOpen = false;
    choose([&](HWND dialog, HWND control) {
        set(control, VK_F10, HOTKEYF_CONTROL | HOTKEYF_SHIFT);
        PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        Pump(); // the box is shown and closed meanwhile
        stayedOpen = IsWindowVisible(dialog) && boxes.Seen().size() == 1;
        PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    });
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, L"Hotkey Ctrl+Shift+F10 is in use by another program. "
                                    L"Choose another one in the menu.");
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(form_->PhotoHotkey(), (vistrel::Hotkey{MOD_CONTROL | MOD_ALT, VK_F11}));
    EXPECT_TRUE(inUse(MOD_CONTROL | MOD_ALT, VK_F11)) << "the one before stays in force";
    // A letter alone would be taken from every program the user types in.
    choose([&](HWND dialog, HWND control) {
        set(control, 'A', 0);
        PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        Pump();
        PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    });
    ASSERT_EQ(boxes.Seen().size(), 2u);
    EXPECT_EQ(boxes.Seen()[1].text.rfind(L"This key cannot be a hotkey.", 0), 0u);
    EXPECT_EQ(form_->PhotoHotkey(), (vistrel::Hotkey{MOD_CONTROL | MOD_ALT, VK_F11}));
    DestroyForm();
    EXPECT_EQ(ReadIni(ini, L"photo", L"hotkey"), L"Ctrl+Alt+F11");

    // Backspace in the control: none.
    CreateForm();
    EXPECT_TRUE(inUse(MOD_CONTROL | MOD_ALT, VK_F11)) << "registered again at start";
    choose([&](HWND dialog, HWND control) {
        ASSERT_NE(SendMessageW(control, HKM_GETHOTKEY, 0, 0), 0);
        SendMessageW(control, WM_KEYDOWN, VK_BACK, 0);
        EXPECT_EQ(SendMessageW(control, HKM_GETHOTKEY, 0, 0), 0);
        PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_TRUE(form_->PhotoHotkey().None());
    EXPECT_FALSE(inUse(MOD_CONTROL | MOD_ALT, VK_F11));
    DestroyForm();
    EXPECT_EQ(ReadIni(ini, L"photo", L"hotkey"), L"");
    UnregisterHotKey(nullptr, 7);
}
