#pragma once
// Whole numbers in text, as the size boxes and the settings file hold them: leading
// blanks, at most one sign, then decimal digits, or hexadecimal digits after "$", "x",
// "X", "0x" or "0X", and nothing after the digits. Decimal values must fit a signed
// 32-bit integer; hexadecimal ones take at most 8 digits and wrap into it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vistrel {

// No value (rather than an error) when the text is not a whole number, so that callers
// can fall back quietly.
std::optional<int32_t> ReadWholeNumber(std::wstring_view text);

// Plain decimal, as numbers are written everywhere.
std::wstring WriteWholeNumber(int64_t value);

} // namespace vistrel
