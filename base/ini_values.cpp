#include "base/ini_values.h"

#include "base/number_text.h"

namespace vistrel {

int IniInteger(std::optional<std::wstring_view> value, int fallback) {
    if (!value)
        return fallback;
    return ReadWholeNumber(*value).value_or(fallback);
}

bool IniBoolean(std::optional<std::wstring_view> value, bool fallback) {
    return IniInteger(value, fallback ? 1 : 0) != 0;
}

std::wstring IniString(std::optional<std::wstring_view> value, std::wstring_view fallback) {
    std::wstring_view v = value ? *value : fallback;
    return std::wstring(v.substr(0, kMaxIniString));
}

std::wstring IniWriteBoolean(bool value) {
    return value ? L"1" : L"0";
}

} // namespace vistrel
