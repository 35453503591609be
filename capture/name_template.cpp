#include "capture/name_template.h"

#include "base/error.h"

#include <algorithm>

namespace vistrel {

namespace {

[[noreturn]] void Invalid(std::wstring_view text) {
    throw Error(FormatMessageText(L"Format '%s' invalid or incompatible with argument", {text}));
}

[[noreturn]] void NoArgument(std::wstring_view text) {
    throw Error(FormatMessageText(L"No argument for format '%s'", {text}));
}

[[noreturn]] void OutsideFolder(std::wstring_view text) {
    throw Error(FormatMessageText(L"Format '%s' names a file outside the Photos folder", {text}));
}

// A folder, a drive, a file's stream or a way up: the name would be written elsewhere. A
// number gives only digits, letters, "-" and blanks, so the literal text decides.
bool LeavesFolder(std::wstring_view literal) {
    return literal.find_first_of(L"\\/:") != std::wstring_view::npos ||
           literal.find(L"..") != std::wstring_view::npos;
}

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// Reads decimal digits; -1 when there are none. Values past the limit are kept just past
// it, so the caller can refuse them without overflowing.
int ReadDigits(std::wstring_view s, size_t& i) {
    if (i >= s.size() || !IsDigit(s[i]))
        return -1;
    long long value = 0;
    while (i < s.size() && IsDigit(s[i])) {
        value = std::min<long long>(value * 10 + (s[i] - L'0'), NameTemplate::kMaxWidth + 1);
        ++i;
    }
    return static_cast<int>(value);
}

} // namespace

NameTemplate::NameTemplate(std::wstring_view text) : text_(text) {
    // One argument: the number. Arguments are taken in order unless an index is given.
    constexpr int kArguments = 1;
    int nextArgument = 0;
    Piece piece;
    size_t i = 0;
    while (i < text.size()) {
        wchar_t c = text[i++];
        if (c != L'%') {
            piece.literal += c;
            continue;
        }
        if (i < text.size() && text[i] == L'%') {
            piece.literal += L'%';
            ++i;
            continue;
        }
        auto takeArgument = [&](int index) {
            if (index >= kArguments)
                NoArgument(text);
            nextArgument = index + 1;
        };
        // Optional argument index.
        size_t mark = i;
        int index = ReadDigits(text, i);
        if (i < text.size() && text[i] == L':') {
            nextArgument = std::max(index, 0);
            ++i;
        } else {
            i = mark;
        }
        if (i < text.size() && text[i] == L'-') {
            piece.leftJustify = true;
            ++i;
        }
        if (i < text.size() && text[i] == L'*') {
            takeArgument(nextArgument); // the width takes the argument
            ++i;
        } else {
            piece.width = ReadDigits(text, i);
        }
        if (i < text.size() && text[i] == L'.') {
            ++i;
            if (i < text.size() && text[i] == L'*') {
                takeArgument(nextArgument);
                ++i;
            } else {
                piece.precision = std::max(ReadDigits(text, i), 0);
            }
        }
        if (piece.width > kMaxWidth || piece.precision > kMaxWidth)
            Invalid(text);
        if (i >= text.size())
            Invalid(text);
        wchar_t conversion = static_cast<wchar_t>(text[i++] | 0x20);
        takeArgument(nextArgument);
        if (conversion != L'd' && conversion != L'u' && conversion != L'x')
            Invalid(text);
        piece.hasPlaceholder = true;
        piece.conversion = conversion;
        usesNumber_ = true;
        pieces_.push_back(std::move(piece));
        piece = Piece{};
    }
    pieces_.push_back(std::move(piece));
    for (const Piece& p : pieces_)
        if (LeavesFolder(p.literal))
            OutsideFolder(text);
}

std::wstring NameTemplate::Format(int32_t number) const {
    std::wstring out;
    AppendTo(out, number);
    return out;
}

void NameTemplate::AppendTo(std::wstring& out, int32_t number) const {
    for (const Piece& p : pieces_) {
        out += p.literal;
        if (!p.hasPlaceholder)
            continue;
        const bool negative = p.conversion == L'd' && number < 0;
        uint32_t magnitude = static_cast<uint32_t>(number);
        if (negative)
            magnitude = 0u - magnitude;
        // Digits in reverse into a small buffer, then padding and sign in front.
        const uint32_t base = p.conversion == L'x' ? 16 : 10;
        wchar_t digits[16];
        int count = 0;
        do {
            uint32_t d = magnitude % base;
            digits[count++] = static_cast<wchar_t>(d < 10 ? L'0' + d : L'A' + d - 10);
            magnitude /= base;
        } while (magnitude);
        const int zeros = p.precision > count ? p.precision - count : 0;
        const int length = count + zeros + (negative ? 1 : 0);
        const int pad = p.width > length ? p.width - length : 0;
        if (!p.leftJustify)
            out.append(static_cast<size_t>(pad), L' ');
        if (negative)
            out += L'-';
        out.append(static_cast<size_t>(zeros), L'0');
        while (count > 0)
            out += digits[--count];
        if (p.leftJustify)
            out.append(static_cast<size_t>(pad), L' ');
    }
}

std::wstring FormatNameTemplate(std::wstring_view text, int32_t number) {
    return NameTemplate(text).Format(number);
}

} // namespace vistrel
