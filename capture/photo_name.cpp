#include "capture/photo_name.h"

#include "base/error.h"
#include "capture/name_template.h"

#include <cstdint>

namespace vistrel {

bool PhotoNameTaken(std::wstring_view stem,
                    const std::function<bool(const std::wstring& name)>& exists) {
    std::wstring name(stem);
    for (std::wstring_view extension : kPhotoExtensions) {
        name.resize(stem.size());
        name += extension;
        if (exists(name))
            return true;
    }
    return false;
}

std::wstring FindFreePhotoName(std::wstring_view folderPart, std::wstring_view nameTemplate,
                               const std::function<bool(const std::wstring&)>& taken,
                               int32_t lastNumber) {
    NameTemplate name(nameTemplate);
    std::wstring candidate(folderPart);
    const size_t folderLength = candidate.size();
    for (int32_t n = 1;; ++n) {
        candidate.resize(folderLength);
        name.AppendTo(candidate, n);
        if (!taken(candidate))
            return candidate;
        if (!name.UsesNumber())
            throw Error(FormatMessageText(
                L"The photo name template \"%s\" has no number in it, and its one name \"%s\" "
                L"is taken",
                {nameTemplate, candidate}));
        if (n >= lastNumber)
            throw Error(FormatMessageText(
                L"Every photo name that the template \"%s\" can give is taken", {nameTemplate}));
    }
}

} // namespace vistrel
