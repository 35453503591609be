#pragma once
// The search for the next photo name: the first number, counting from 1, whose name is
// taken by no photo of any type. Photos of every type share one numbering, and the first
// gap is filled first.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace vistrel {

// The extensions of photo files: a name is taken when any of them follows it.
constexpr std::array<std::wstring_view, 3> kPhotoExtensions = {L".jpg", L".bmp", L".png"};

// Whether a photo of any type has this name (without extension): exists(name) tells
// whether one file name is there.
bool PhotoNameTaken(std::wstring_view stem,
                    const std::function<bool(const std::wstring& name)>& exists);

// taken(candidate) tells whether the candidate path (without extension) is in use by a
// photo of any type. Throws Error for a template that cannot be
// formatted, for a template without a number whose one name is taken, and when every
// number up to 2,147,483,647 is taken: the search never runs without end.
// lastNumber is the end of the search (the largest 32-bit number unless told otherwise).
std::wstring FindFreePhotoName(std::wstring_view folderPart, std::wstring_view nameTemplate,
                               const std::function<bool(const std::wstring&)>& taken,
                               int32_t lastNumber = INT32_MAX);

} // namespace vistrel
