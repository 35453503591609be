// Any settings file, in any of its forms, must decode without a crash, and the text saved
// as the program saves it must read back as the same text.
#include "base/settings_text.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Latin-1 stands for the ANSI code page: every byte is some character.
    auto ansi = [](std::string_view bytes) {
        std::wstring text;
        for (char c : bytes)
            text += static_cast<wchar_t>(static_cast<unsigned char>(c));
        return text;
    };
    std::wstring text = vistrel::DecodeSettingsText({data, size}, ansi);
    for (wchar_t c : text)
        if (static_cast<uint32_t>(c) > 0x10FFFF)
            std::abort();
    if (vistrel::DecodeSettingsText(vistrel::EncodeSettingsText(text), ansi) != text)
        std::abort();
    return 0;
}
