#pragma once
// Writing a photo file so that it appears whole or not at all and never replaces another
// file: the bytes go to a temporary file beside the chosen name (a name the photo list
// does not show), which is then given the chosen name, without replacing, while the
// program still holds it, so that no other program (a virus scanner, a sync client) can
// open it in between. A name taken in the meantime moves the photo on to the next free
// name.

#include <windows.h>

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string>

namespace vistrel {

struct FileChunk {
    const void* data;
    size_t size;
};

// How the writing reaches the system; tests put failing disks and held files in place of
// the system's own functions.
struct PhotoFileSystem {
    // WriteFile.
    using WriteFunction = int (*)(void* file, const void* data, unsigned long size,
                                  unsigned long* written);
    // Names the open file (opened with delete access) as the target, without replacing;
    // returns 0 or the system's error code.
    using RenameFunction = DWORD (*)(HANDLE file, const std::wstring& target);
    // Deletes a file by name; returns 0 or the system's error code.
    using RemoveFunction = DWORD (*)(const std::wstring& path);

    static int SystemWrite(void* file, const void* data, unsigned long size,
                           unsigned long* written);
    static DWORD SystemRename(HANDLE file, const std::wstring& target);
    static DWORD SystemRemove(const std::wstring& path);

    WriteFunction write = SystemWrite;
    RenameFunction rename = SystemRename;
    RemoveFunction remove = SystemRemove;
    // While another program holds the file (sharing violation, access denied), the rename
    // and the removal of a temporary file are tried again for this long in all, with
    // pause() between the attempts.
    DWORD patienceMs = 2000;
    std::function<void()> pause = [] { ::Sleep(25); };
};

// nextName() gives a free path without extension; taken(path) is called for a name that
// turned out to be in use, before nextName() is asked again. Returns the path written.
// Throws Error ("Cannot create file ..." when the file cannot be made, "Cannot write
// file ..." when it cannot be written or named, with the final name and the system's
// reason) and leaves nothing behind: a temporary file that another program still holds
// is removed at the next photo, or by RemoveLeftoverPhotoFiles at the end.
std::wstring SaveNewPhotoFile(const std::function<std::wstring()>& nextName,
                              const std::function<void(const std::wstring&)>& taken,
                              const std::wstring& extension,
                              std::initializer_list<FileChunk> chunks,
                              const PhotoFileSystem& system = {});

// Removes the temporary files that could not be removed when their photo failed.
void RemoveLeftoverPhotoFiles(const PhotoFileSystem& system = {});

} // namespace vistrel
