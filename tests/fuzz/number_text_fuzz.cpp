// The number reader takes hand-edited settings and typed sizes: any text must give a value
// or none, never a crash, and a value must read back the same when written.
#include "base/number_text.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    auto value = vistrel::ReadWholeNumber(text);
    if (value && vistrel::ReadWholeNumber(vistrel::WriteWholeNumber(*value)) != value)
        std::abort();
    return 0;
}
