// Hand-edited settings files: any text must give settings within their ranges, never a
// crash; and what is written reads back as the same settings, however odd the values.
#include "app/settings.h"
#include "base/ini_values.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    vistrel::IniText ini(text);
    const vistrel::ScreenDefaults screen{218, 1048};
    vistrel::Settings s = vistrel::ReadSettings(ini, screen);
    const vistrel::PhotoOptions& o = s.photo;
    if (o.quality < 0 || o.quality > 100 || o.percent < 1 || o.percent > 100 || o.typeEntry < -1 ||
        o.typeEntry > 2 || o.nameTemplate.size() > vistrel::kMaxIniString)
        std::abort();
    vistrel::WriteSettings(s, ini);
    vistrel::Settings back = vistrel::ReadSettings(vistrel::IniText(ini.Text()), screen);
    if (!(back.geometry == s.geometry) || !(back.photo == s.photo) || !(back.hotkey == s.hotkey) ||
        back.unreadHotkey != s.unreadHotkey)
        std::abort();
    return 0;
}
