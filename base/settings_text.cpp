#include "base/settings_text.h"

namespace vistrel {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

struct Utf8Step {
    char32_t codePoint;
    size_t length; // bytes taken; for a damaged sequence, its longest valid start (at least 1)
    bool valid;
};

// One character of strict UTF-8: the ranges of the second byte shut out overlong forms
// (E0, F0), surrogates (ED) and code points past U+10FFFF (F4).
Utf8Step NextUtf8(std::span<const uint8_t> bytes, size_t at) {
    const uint8_t lead = bytes[at];
    if (lead < 0x80)
        return {lead, 1, true};
    size_t follow = 0;
    char32_t codePoint = 0;
    uint8_t low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        follow = 1;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        follow = 2;
        codePoint = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        follow = 3;
        codePoint = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return {0, 1, false};
    }
    size_t length = 1;
    for (; length <= follow; ++length) {
        if (at + length >= bytes.size() || bytes[at + length] < low || bytes[at + length] > high)
            return {0, length, false};
        codePoint = (codePoint << 6) | (bytes[at + length] & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    return {codePoint, length, true};
}

void Append(std::wstring& text, char32_t codePoint) {
    if (sizeof(wchar_t) == 2 && codePoint > 0xFFFF) {
        codePoint -= 0x10000;
        text += static_cast<wchar_t>(0xD800 + (codePoint >> 10));
        text += static_cast<wchar_t>(0xDC00 + (codePoint & 0x3FF));
        return;
    }
    text += static_cast<wchar_t>(codePoint);
}

// Valid, and not plain ASCII (which the ANSI code page reads the same, or better).
bool IsNonAsciiUtf8(std::span<const uint8_t> bytes) {
    bool nonAscii = false;
    for (size_t at = 0; at < bytes.size();) {
        Utf8Step step = NextUtf8(bytes, at);
        if (!step.valid)
            return false;
        nonAscii = nonAscii || step.length > 1;
        at += step.length;
    }
    return nonAscii;
}

std::wstring FromUtf8(std::span<const uint8_t> bytes) {
    std::wstring text;
    text.reserve(bytes.size());
    for (size_t at = 0; at < bytes.size();) {
        Utf8Step step = NextUtf8(bytes, at);
        Append(text, step.valid ? step.codePoint : kReplacement);
        at += step.length;
    }
    return text;
}

std::wstring FromUtf16(std::span<const uint8_t> bytes) {
    std::wstring text;
    text.reserve(bytes.size() / 2);
    for (size_t at = 0; at + 1 < bytes.size(); at += 2) {
        char32_t unit = bytes[at] | (bytes[at + 1] << 8);
        // A pair is one character where wchar_t holds any code point; an unpaired
        // surrogate stays as it is, as the system keeps it in names.
        if (sizeof(wchar_t) == 4 && unit >= 0xD800 && unit <= 0xDBFF && at + 3 < bytes.size()) {
            char32_t next = bytes[at + 2] | (bytes[at + 3] << 8);
            if (next >= 0xDC00 && next <= 0xDFFF) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00);
                at += 2;
            }
        }
        text += static_cast<wchar_t>(unit);
    }
    return text;
}

void PutUnit(std::vector<uint8_t>& bytes, char32_t unit) {
    bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<uint8_t>(unit >> 8));
}

} // namespace

std::wstring DecodeSettingsText(std::span<const uint8_t> bytes, const AnsiDecoder& ansi) {
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
        return FromUtf16(bytes.subspan(2));
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        return FromUtf8(bytes.subspan(3));
    if (IsNonAsciiUtf8(bytes))
        return FromUtf8(bytes);
    return ansi(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::vector<uint8_t> EncodeSettingsText(std::wstring_view text) {
    std::vector<uint8_t> bytes{0xFF, 0xFE};
    bytes.reserve(2 + text.size() * 2);
    for (wchar_t c : text) {
        auto codePoint = static_cast<char32_t>(c);
        if (sizeof(wchar_t) == 2 || codePoint <= 0xFFFF) {
            PutUnit(bytes, codePoint & 0xFFFF);
        } else if (codePoint <= 0x10FFFF) {
            codePoint -= 0x10000;
            PutUnit(bytes, 0xD800 + (codePoint >> 10));
            PutUnit(bytes, 0xDC00 + (codePoint & 0x3FF));
        } else {
            PutUnit(bytes, kReplacement);
        }
    }
    return bytes;
}

} // namespace vistrel
