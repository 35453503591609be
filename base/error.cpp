#include "base/error.h"

namespace vistrel {

std::wstring FormatMessageText(std::wstring_view pattern,
                               std::initializer_list<std::wstring_view> args) {
    std::wstring out;
    out.reserve(pattern.size() + 64);
    auto next = args.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == L'%' && i + 1 < pattern.size() && pattern[i + 1] == L's') {
            if (next != args.end())
                out += *next++;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

std::wstring ErrorBoxText(std::wstring_view message) {
    std::wstring text(message);
    // Comparing code units matches the byte order of the message's characters: everything
    // outside ASCII lies above ".".
    if (!text.empty() && static_cast<unsigned>(text.back()) > static_cast<unsigned>(L'.'))
        text += L'.';
    return text;
}

std::wstring WidenAscii(const char* text) {
    std::wstring wide;
    for (const char* c = text; *c; ++c)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(*c));
    return wide;
}

} // namespace vistrel
