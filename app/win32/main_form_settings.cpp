// The settings file beside the program: the executable's path with ".ini", sections
// "common" (window geometry) and "photo" (the photo options and the name template).

#include "base/error.h"
#include "base/win32/handles.h"
#include "app/win32/main_form.h"
#include "base/number_text.h"
#include "base/ini_values.h"
#include "capture/win32/viewport.h"

#include <algorithm>
#include <vector>

namespace vistrel {

namespace {

class IniReader {
public:
    explicit IniReader(const std::wstring& path) : path_(path) {}

    // The value as the system's INI reader gives it, or nothing when the key is missing.
    std::optional<std::wstring> Read(const wchar_t* section, const wchar_t* key) const {
        // A default that no stored value can be: the reader never returns U+FFFF.
        static constexpr wchar_t kMissing[] = L"\uFFFF";
        wchar_t buffer[kMaxIniString + 1];
        DWORD n = ::GetPrivateProfileStringW(section, key, kMissing, buffer,
                                             static_cast<DWORD>(std::size(buffer)), path_.c_str());
        std::wstring value(buffer, n);
        if (value == kMissing)
            return std::nullopt;
        return value;
    }

private:
    const std::wstring& path_;
};

struct IniEntry {
    const wchar_t* section;
    const wchar_t* key;
    std::wstring value;
};

std::vector<uint8_t> ReadBytes(const std::wstring& path) {
    std::vector<uint8_t> bytes;
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.get(), &size) || size.QuadPart > (16 << 20))
        return bytes;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        read = 0;
    bytes.resize(read);
    return bytes;
}

// The old file's text as UTF-16 with a byte-order mark, so that the INI functions keep
// writing Unicode (names and folders in any script survive on any system locale).
std::vector<uint8_t> AsUnicodeFile(const std::vector<uint8_t>& old) {
    std::vector<uint8_t> out{0xFF, 0xFE};
    if (old.size() >= 2 && old[0] == 0xFF && old[1] == 0xFE) {
        out.insert(out.end(), old.begin() + 2, old.end());
        return out;
    }
    UINT codePage = CP_ACP;
    size_t skip = 0;
    if (old.size() >= 3 && old[0] == 0xEF && old[1] == 0xBB && old[2] == 0xBF) {
        codePage = CP_UTF8;
        skip = 3;
    }
    int n = ::MultiByteToWideChar(codePage, 0, reinterpret_cast<const char*>(old.data() + skip),
                                  static_cast<int>(old.size() - skip), nullptr, 0);
    std::wstring text(static_cast<size_t>(std::max(n, 0)), L'\0');
    if (n > 0)
        ::MultiByteToWideChar(codePage, 0, reinterpret_cast<const char*>(old.data() + skip),
                              static_cast<int>(old.size() - skip), text.data(), n);
    const auto* p = reinterpret_cast<const uint8_t*>(text.data());
    out.insert(out.end(), p, p + text.size() * sizeof(wchar_t));
    return out;
}

// Writes the entries with the INI functions into a copy of the file, then puts the copy
// in the file's place: a write that fails (full disk, read-only place) leaves the old
// file as it was. Throws "Unable to write to <path>".
void WriteIni(const std::wstring& path, const std::vector<IniEntry>& entries) {
    const std::wstring temporary = path + L"." + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
    auto fail = [&] {
        ::DeleteFileW(temporary.c_str());
        throw Error(FormatMessageText(L"Unable to write to %s", {path}));
    };
    {
        std::vector<uint8_t> start = AsUnicodeFile(ReadBytes(path));
        UniqueFile file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (!file ||
            !::WriteFile(file.get(), start.data(), static_cast<DWORD>(start.size()), &written,
                         nullptr) ||
            written != start.size())
            fail();
    }
    for (const IniEntry& e : entries)
        if (!::WritePrivateProfileStringW(e.section, e.key, e.value.c_str(), temporary.c_str()))
            fail();
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, temporary.c_str()); // flush
    if (!::MoveFileExW(temporary.c_str(), path.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        fail();
}

} // namespace

void TMainForm::LoadSettings() {
    IniReader ini(settingsPath_);
    // Each through the window's own move, so that snapping and the minimum width apply.
    int top = IniInteger(ini.Read(L"common", L"top"), 0);
    int left = IniInteger(ini.Read(L"common", L"left"), 0);
    int width = IniInteger(ini.Read(L"common", L"width"), kDesignWidth);
    int height = IniInteger(ini.Read(L"common", L"height"), ::GetSystemMetrics(SM_CYSCREEN) - 32);
    RECT r = Bounds();
    SetBounds(r.left, top, r.right - r.left, r.bottom - r.top);
    r = Bounds();
    SetBounds(left, r.top, r.right - r.left, r.bottom - r.top);
    r = Bounds();
    SetBounds(r.left, r.top, width, r.bottom - r.top);
    r = Bounds();
    SetBounds(r.left, r.top, r.right - r.left, height);
    KeepOnScreen();

    int type = IniInteger(ini.Read(L"photo", L"type"), 1);
    FType.SetItemIndex(type == 0 || type == 1 ? type : -1);
    FTypeChange(this);
    JPEGSlider.SetPosition(IniInteger(ini.Read(L"photo", L"quality"), 80));
    JPEGSliderChange(this);
    Scale.SetChecked(IniBoolean(ini.Read(L"photo", L"scale"), false));
    ScaleClick(this);
    const std::wstring xres = IniString(ini.Read(L"photo", L"xres"), L"640");
    const std::wstring yres = IniString(ini.Read(L"photo", L"yres"), L"480");
    XScale.SetText(xres);
    YScale.SetText(yres);
    Proportional.SetChecked(IniBoolean(ini.Read(L"photo", L"prop"), true));
    ProportionalClick(this);
    ScaleSlider.SetPosition(IniInteger(ini.Read(L"photo", L"sfactor"), 100));
    ScaleSliderChange(this);
    FNameTemplate = IniString(ini.Read(L"photo", L"name"), L"image_%.5d");

    // Without the browser, the sizing above took the boxes as its base and scaled them
    // twice (640 by 480 would end as 1 by 1): the stored sizes are kept instead.
    if (!FindViewport()) {
        XScale.SetText(xres);
        YScale.SetText(yres);
    }
}

void TMainForm::KeepOnScreen() {
    RECT r = Bounds();
    HMONITOR nearest = ::MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    ::GetMonitorInfoW(nearest, &mi);
    // Never larger than the monitor: a taller window would hide its lower controls.
    LONG width = std::min(r.right - r.left, mi.rcMonitor.right - mi.rcMonitor.left);
    LONG height = std::min(r.bottom - r.top, mi.rcMonitor.bottom - mi.rcMonitor.top);
    LONG left = r.left, top = r.top;
    if (!::MonitorFromRect(&r, MONITOR_DEFAULTTONULL)) {
        // Wholly off every monitor (one removed since): into the primary's work area.
        POINT origin{0, 0};
        mi.cbSize = sizeof mi;
        ::GetMonitorInfoW(::MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY), &mi);
        left = mi.rcWork.left;
        top = mi.rcWork.top;
    }
    if (width != r.right - r.left || height != r.bottom - r.top || left != r.left || top != r.top)
        SetBounds(left, top, width, height);
}

void TMainForm::SaveSettings() {
    RECT r = Bounds();
    // Rolled up, the height kept is the client height it will unroll to.
    int height = Tag != 0 ? Tag : r.bottom - r.top;
    const std::vector<IniEntry> entries = {
        {L"common", L"top", WriteWholeNumber(r.top)},
        {L"common", L"left", WriteWholeNumber(r.left)},
        {L"common", L"width", WriteWholeNumber(r.right - r.left)},
        {L"common", L"height", WriteWholeNumber(height)},
        {L"photo", L"type", WriteWholeNumber(FType.ItemIndex())},
        {L"photo", L"quality", WriteWholeNumber(JPEGSlider.Position())},
        {L"photo", L"scale", IniWriteBoolean(Scale.Checked())},
        {L"photo", L"xres", XScale.Text()},
        {L"photo", L"yres", YScale.Text()},
        {L"photo", L"prop", IniWriteBoolean(Proportional.Checked())},
        {L"photo", L"sfactor", WriteWholeNumber(ScaleSlider.Position())},
        {L"photo", L"name", FNameTemplate},
    };
    WriteIni(settingsPath_, entries);
}

} // namespace vistrel
