#include "capture/win32/photo_file.h"

#include "base/error.h"
#include "base/win32/file_system.h"
#include "base/win32/handles.h"

#include <windows.h>

#include <algorithm>

namespace vistrel {

namespace {

[[noreturn]] void Fail(const wchar_t* pattern, const std::wstring& path, DWORD code) {
    throw Error(FormatMessageText(pattern, {path, SystemErrorText(code)}));
}

// A new, empty temporary file in the folder; its name ends in ".tmp", which the photo
// list does not show.
std::wstring CreateTemporary(const std::wstring& folder, UniqueFile& file, DWORD& error) {
    static LONG counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring path = folder + L"~vistrel-" + std::to_wstring(::GetCurrentProcessId()) +
                            L"-" + std::to_wstring(::InterlockedIncrement(&counter)) + L".tmp";
        file.reset(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file)
            return path;
        error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            break;
    }
    return {};
}

} // namespace

int SystemWrite(void* file, const void* data, unsigned long size, unsigned long* written) {
    DWORD done = 0;
    BOOL ok = ::WriteFile(file, data, size, &done, nullptr);
    *written = done;
    return ok;
}

std::wstring SaveNewPhotoFile(const std::function<std::wstring()>& nextName,
                              const std::function<void(const std::wstring&)>& taken,
                              const std::wstring& extension,
                              std::initializer_list<FileChunk> chunks, WriteFunction write) {
    std::wstring target = nextName() + extension;
    UniqueFile file;
    DWORD error = ERROR_SUCCESS;
    std::wstring temporary = CreateTemporary(FolderOf(target), file, error);
    if (temporary.empty())
        Fail(L"Cannot create file \"%s\". %s", target, error);

    auto discard = [&] {
        file.reset();
        ::DeleteFileW(temporary.c_str());
    };
    for (const FileChunk& chunk : chunks) {
        const auto* p = static_cast<const char*>(chunk.data);
        size_t left = chunk.size;
        while (left > 0) {
            unsigned long part = static_cast<unsigned long>(std::min<size_t>(left, 64u << 20));
            unsigned long written = 0;
            if (!write(file.get(), p, part, &written) || written == 0) {
                error = ::GetLastError();
                discard();
                Fail(L"Cannot write file \"%s\". %s", target, error ? error : ERROR_WRITE_FAULT);
            }
            p += written;
            left -= written;
        }
    }
    // On the disk before it gets its name: a photo that has a name is complete.
    if (!::FlushFileBuffers(file.get())) {
        error = ::GetLastError();
        discard();
        Fail(L"Cannot write file \"%s\". %s", target, error);
    }
    file.reset();

    for (;;) {
        if (::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH))
            return target;
        error = ::GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) {
            discard();
            Fail(L"Cannot create file \"%s\". %s", target, error);
        }
        // Taken since the name was chosen (by another copy of the program, say).
        taken(target.substr(0, target.size() - extension.size()));
        try {
            target = nextName() + extension;
        } catch (...) {
            discard();
            throw;
        }
    }
}

} // namespace vistrel
