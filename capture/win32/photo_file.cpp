#include "capture/win32/photo_file.h"

#include "base/error.h"
#include "base/win32/file_system.h"
#include "base/win32/handles.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace vistrel {

namespace {

[[noreturn]] void Fail(const wchar_t* pattern, const std::wstring& path, DWORD code) {
    throw Error(FormatMessageText(pattern, {path, SystemErrorText(code)}));
}

bool HeldByAnother(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
           error == ERROR_LOCK_VIOLATION;
}

// Temporary files of failed photos that another program still held.
std::vector<std::wstring>& Leftovers() {
    static std::vector<std::wstring> files;
    return files;
}

// A new, empty temporary file in the folder, held without sharing; its name ends in
// ".tmp", which the photo list does not show.
std::wstring CreateTemporary(const std::wstring& folder, UniqueFile& file, DWORD& error) {
    static LONG counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring path = folder + L"~vistrel-" + std::to_wstring(::GetCurrentProcessId()) +
                            L"-" + std::to_wstring(::InterlockedIncrement(&counter)) + L".tmp";
        file.reset(::CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file)
            return path;
        error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            break;
    }
    return {};
}

// Tries for as long as the system's patience allows while another program holds the file.
template <typename Attempt> DWORD Patiently(const PhotoFileSystem& system, Attempt attempt) {
    const ULONGLONG start = ::GetTickCount64();
    for (;;) {
        DWORD error = attempt();
        if (!HeldByAnother(error) || ::GetTickCount64() - start >= system.patienceMs)
            return error;
        system.pause();
    }
}

void RemoveTemporary(const std::wstring& path, const PhotoFileSystem& system) {
    DWORD error = Patiently(system, [&] { return system.remove(path); });
    if (error != 0 && error != ERROR_FILE_NOT_FOUND)
        Leftovers().push_back(path);
}

} // namespace

int PhotoFileSystem::SystemWrite(void* file, const void* data, unsigned long size,
                                 unsigned long* written) {
    DWORD done = 0;
    BOOL ok = ::WriteFile(file, data, size, &done, nullptr);
    *written = done;
    return ok;
}

DWORD PhotoFileSystem::SystemRename(HANDLE file, const std::wstring& target) {
    const DWORD nameBytes = static_cast<DWORD>(target.size() * sizeof(wchar_t));
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = FALSE;
    info->RootDirectory = nullptr;
    info->FileNameLength = nameBytes;
    std::memcpy(info->FileName, target.data(), nameBytes);
    if (::SetFileInformationByHandle(file, FileRenameInfo, info, static_cast<DWORD>(buffer.size())))
        return 0;
    return ::GetLastError();
}

DWORD PhotoFileSystem::SystemRemove(const std::wstring& path) {
    return ::DeleteFileW(path.c_str()) ? 0 : ::GetLastError();
}

void RemoveLeftoverPhotoFiles(const PhotoFileSystem& system) {
    std::vector<std::wstring> files = std::move(Leftovers());
    Leftovers().clear();
    for (const std::wstring& path : files) {
        DWORD error = system.remove(path);
        if (error != 0 && error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
            Leftovers().push_back(path);
    }
}

std::wstring SaveNewPhotoFile(const std::function<std::wstring()>& nextName,
                              const std::function<void(const std::wstring&)>& taken,
                              const std::wstring& extension,
                              std::initializer_list<FileChunk> chunks,
                              const PhotoFileSystem& system) {
    RemoveLeftoverPhotoFiles(system);
    std::wstring target = nextName() + extension;
    UniqueFile file;
    DWORD error = ERROR_SUCCESS;
    std::wstring temporary = CreateTemporary(FolderOf(target), file, error);
    if (temporary.empty())
        Fail(L"Cannot create file \"%s\". %s", target, error);

    auto discard = [&] {
        file.reset();
        RemoveTemporary(temporary, system);
    };
    for (const FileChunk& chunk : chunks) {
        const auto* p = static_cast<const char*>(chunk.data);
        size_t left = chunk.size;
        while (left > 0) {
            unsigned long part = static_cast<unsigned long>(std::min<size_t>(left, 64u << 20));
            unsigned long written = 0;
            if (!system.write(file.get(), p, part, &written) || written == 0) {
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

    for (;;) {
        error = Patiently(system, [&] { return system.rename(file.get(), target); });
        if (error == 0) {
            file.reset();
            return target;
        }
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) {
            discard();
            Fail(L"Cannot write file \"%s\". %s", target, error);
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
