#include "app/settings.h"

#include "base/ini_values.h"
#include "base/number_text.h"

namespace vistrel {

namespace {
constexpr wchar_t kCommon[] = L"common";
constexpr wchar_t kPhoto[] = L"photo";
} // namespace

Settings ReadSettings(const IniText& ini, const ScreenDefaults& defaults) {
    auto integer = [&](const wchar_t* section, const wchar_t* key, int fallback) {
        return IniInteger(ini.Get(section, key), fallback);
    };
    auto boolean = [&](const wchar_t* key, bool fallback) {
        return IniBoolean(ini.Get(kPhoto, key), fallback);
    };
    auto string = [&](const wchar_t* key, const std::wstring& fallback) {
        return IniString(ini.Get(kPhoto, key), fallback);
    };
    Settings s;
    // A hand-edited 2147483647 must not overflow the window arithmetic.
    s.geometry = SaneGeometry({integer(kCommon, L"top", 0), integer(kCommon, L"left", 0),
                               integer(kCommon, L"width", defaults.width),
                               integer(kCommon, L"height", defaults.height)});
    const PhotoOptions fallback;
    PhotoOptions& o = s.photo;
    o.typeEntry = integer(kPhoto, L"type", fallback.typeEntry);
    o.quality = integer(kPhoto, L"quality", fallback.quality);
    o.resize = boolean(L"scale", fallback.resize);
    o.width = string(L"xres", fallback.width);
    o.height = string(L"yres", fallback.height);
    o.proportional = boolean(L"prop", fallback.proportional);
    o.percent = integer(kPhoto, L"sfactor", fallback.percent);
    o.nameTemplate = string(L"name", fallback.nameTemplate);
    o.BringIntoRange();

    const std::wstring hotkey = string(L"hotkey", L"");
    if (auto parsed = ParseHotkey(hotkey))
        s.hotkey = *parsed;
    else
        s.unreadHotkey = hotkey;
    return s;
}

void WriteSettings(const Settings& s, IniText& ini) {
    const StoredGeometry& g = s.geometry;
    ini.Set(kCommon, L"top", WriteWholeNumber(g.top));
    ini.Set(kCommon, L"left", WriteWholeNumber(g.left));
    ini.Set(kCommon, L"width", WriteWholeNumber(g.width));
    ini.Set(kCommon, L"height", WriteWholeNumber(g.height));
    const PhotoOptions& o = s.photo;
    ini.Set(kPhoto, L"type", WriteWholeNumber(o.typeEntry));
    ini.Set(kPhoto, L"quality", WriteWholeNumber(o.quality));
    ini.Set(kPhoto, L"scale", IniWriteBoolean(o.resize));
    ini.Set(kPhoto, L"xres", o.width);
    ini.Set(kPhoto, L"yres", o.height);
    ini.Set(kPhoto, L"prop", IniWriteBoolean(o.proportional));
    ini.Set(kPhoto, L"sfactor", WriteWholeNumber(o.percent));
    ini.Set(kPhoto, L"name", o.nameTemplate);
    ini.Set(kPhoto, L"hotkey",
            s.unreadHotkey.empty() ? FormatHotkey(s.hotkey).value_or(L"") : s.unreadHotkey);
}

} // namespace vistrel
