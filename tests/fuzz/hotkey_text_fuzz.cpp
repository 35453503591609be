// Hand-edited hotkey texts: any text is read without a crash, and a text that reads is
// written back in a form that reads as the same hotkey.
#include "ui/hotkey_text.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    auto hotkey = vistrel::ParseHotkey(text);
    if (!hotkey)
        return 0;
    auto canonical = vistrel::FormatHotkey(*hotkey);
    if (!canonical || canonical->size() > 40 || vistrel::ParseHotkey(*canonical) != hotkey)
        std::abort();
    return 0;
}
