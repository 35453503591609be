#include "base/number_text.h"

namespace vistrel {

namespace {

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

} // namespace

std::optional<int32_t> ReadWholeNumber(std::wstring_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == L' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    bool hex = false;
    if (i < text.size() && (text[i] == L'$' || text[i] == L'x' || text[i] == L'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < text.size() && text[i] == L'0' &&
               (text[i + 1] == L'x' || text[i + 1] == L'X')) {
        hex = true;
        i += 2;
    }
    if (i == text.size())
        return std::nullopt;

    if (hex) {
        if (text.size() - i > 8)
            return std::nullopt;
        uint32_t value = 0;
        for (; i < text.size(); ++i) {
            int d = HexDigit(text[i]);
            if (d < 0)
                return std::nullopt;
            value = value * 16 + static_cast<uint32_t>(d);
        }
        if (negative)
            value = 0u - value;
        return static_cast<int32_t>(value);
    }

    // Accumulate as a negative number so that -2147483648 fits.
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c < L'0' || c > L'9')
            return std::nullopt;
        value = value * 10 + (c - L'0');
        if (value > int64_t{INT32_MAX} + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX || value < INT32_MIN)
        return std::nullopt;
    return static_cast<int32_t>(value);
}

std::wstring WriteWholeNumber(int64_t value) {
    return std::to_wstring(value);
}

} // namespace vistrel
