// Hand-edited settings values: any text read as an integer, a boolean or a string must
// give a value, never a crash, and strings stay within their limit.
#include "base/ini_values.h"
#include "capture/scale_sizing.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    int n = vistrel::IniInteger(text, 42);
    vistrel::IniBoolean(text, true);
    if (vistrel::IniString(text, L"d").size() > vistrel::kMaxIniString)
        std::abort();
    // The boxes' text as a sizing base, at the slider's extremes and beyond.
    for (int percent : {1, 100, n})
        if (vistrel::ScaledSize(vistrel::SizingBase(std::nullopt, text, text), percent).width < 1)
            std::abort();
    return 0;
}
