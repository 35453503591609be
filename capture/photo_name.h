#pragma once
// The search for the next photo name: the first number, counting from 1, whose name is
// taken neither by a JPEG nor by a BMP photo. JPEG and BMP photos share one numbering,
// and the first gap is filled first.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace vistrel {

// taken(candidate) tells whether the candidate path (without extension) is in use, as
// "<candidate>.jpg" or "<candidate>.bmp". Throws Error for a template that cannot be
// formatted, for a template without a number whose one name is taken, and when every
// number up to 2,147,483,647 is taken: the search never runs without end.
// lastNumber is the end of the search (the largest 32-bit number unless told otherwise).
std::wstring FindFreePhotoName(std::wstring_view folderPart, std::wstring_view nameTemplate,
                               const std::function<bool(const std::wstring&)>& taken,
                               int32_t lastNumber = INT32_MAX);

} // namespace vistrel
