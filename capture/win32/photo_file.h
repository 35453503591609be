#pragma once
// Writing a photo file so that it appears whole or not at all and never replaces another
// file: the bytes go to a temporary file beside the chosen name (a name the photo list
// does not show), which is then renamed to the chosen name without replacing. A name
// taken in the meantime moves the photo on to the next free name.

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string>

namespace vistrel {

struct FileChunk {
    const void* data;
    size_t size;
};

// How bytes reach the disk: WriteFile, unless a test puts a failing disk in its place.
using WriteFunction = int (*)(void* file, const void* data, unsigned long size,
                              unsigned long* written);
int SystemWrite(void* file, const void* data, unsigned long size, unsigned long* written);

// nextName() gives a free path without extension; taken(path) is called for a name that
// turned out to be in use, before nextName() is asked again. Returns the path written.
// Throws Error ("Cannot create file ..."/"Cannot write file ...", with the system's
// reason) and leaves nothing behind when the file cannot be written.
std::wstring SaveNewPhotoFile(const std::function<std::wstring()>& nextName,
                              const std::function<void(const std::wstring&)>& taken,
                              const std::wstring& extension,
                              std::initializer_list<FileChunk> chunks,
                              WriteFunction write = SystemWrite);

} // namespace vistrel
