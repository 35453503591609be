// The name template comes from a hand-editable settings file: any text must format or be
// refused with an error, a template that formats must give different names for different
// numbers exactly when it uses the number, and never a name outside the Photos folder.
#include "base/error.h"
#include "capture/name_template.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    try {
        vistrel::NameTemplate t(text);
        std::wstring a = t.Format(1), b = t.Format(2147483647), c = t.Format(-2147483647 - 1);
        if ((a != b) != t.UsesNumber())
            std::abort();
        for (const std::wstring& name : {a, b, c})
            if (name.find_first_of(L"\\/:") != std::wstring::npos ||
                name.find(L"..") != std::wstring::npos)
                std::abort();
        if (a.size() > text.size() + 2 * (vistrel::NameTemplate::kMaxWidth + 16) * 8)
            std::abort();
    } catch (const vistrel::Error&) {
    }
    return 0;
}
