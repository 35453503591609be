#pragma once
// Reading the settings file's values: every key has a default, so a missing or damaged
// value is never an error. Values arrive as the INI reader gives them (blanks around and
// one pair of enclosing quotes already dropped); nullopt means the key is not there.

#include <optional>
#include <string>
#include <string_view>

namespace vistrel {

// Whole numbers in the program's number syntax; anything else, or nothing, is the default.
int IniInteger(std::optional<std::wstring_view> value, int fallback);
// Booleans are read as whole numbers: any value but 0 is true.
bool IniBoolean(std::optional<std::wstring_view> value, bool fallback);
// Strings are taken as they are, up to kMaxIniString characters.
std::wstring IniString(std::optional<std::wstring_view> value, std::wstring_view fallback);
constexpr size_t kMaxIniString = 2047;

std::wstring IniWriteBoolean(bool value);

} // namespace vistrel
