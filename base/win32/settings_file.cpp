#include "base/win32/settings_file.h"

#include "base/error.h"
#include "base/settings_text.h"
#include "base/win32/file_system.h"
#include "base/win32/handles.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace vistrel {

namespace {

// Settings files larger than this are not handled: never read, so never rewritten.
constexpr LONGLONG kMaxFileBytes = 1LL << 30;

// The whole file: empty when there is none, nothing when it is there but cannot be read
// whole (locked, a folder, too large, a read error).
std::optional<std::vector<uint8_t>> ReadExisting(const std::wstring& path) {
    std::vector<uint8_t> bytes;
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND)
            return bytes;
        return std::nullopt;
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > kMaxFileBytes)
        return std::nullopt;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    if (!ReadWholeFile(file.get(), bytes))
        return std::nullopt;
    return bytes;
}

bool WriteAll(HANDLE file, const void* data, size_t size) {
    const auto* p = static_cast<const uint8_t*>(data);
    size_t done = 0;
    while (done < size) {
        DWORD written = 0;
        DWORD part = static_cast<DWORD>(std::min<size_t>(size - done, 64u << 20));
        if (!::WriteFile(file, p + done, part, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

std::wstring Ansi(std::string_view bytes) {
    const int size = static_cast<int>(bytes.size());
    int n = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    std::wstring text(static_cast<size_t>(std::max(n, 0)), L'\0');
    if (n > 0)
        ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, text.data(), n);
    return text;
}

} // namespace

std::optional<std::wstring> SettingsFile::Read() const {
    std::optional<std::vector<uint8_t>> bytes = ReadExisting(path_);
    if (!bytes)
        return std::nullopt;
    return DecodeSettingsText(*bytes, Ansi);
}

void SettingsFile::Write(std::wstring_view text) const {
    const std::wstring temporary =
        path_ + L"." + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
    auto fail = [&] {
        ::DeleteFileW(temporary.c_str());
        throw Error(FormatMessageText(L"Unable to write to %s", {path_}));
    };
    {
        UniqueFile file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        // Unicode with its byte-order mark: names and folders in any script survive on any
        // system locale. On the disk before it takes the old file's place, or a power cut
        // could leave the new name on data never written.
        const std::vector<uint8_t> bytes = EncodeSettingsText(text);
        bool written = file && WriteAll(file.get(), bytes.data(), bytes.size()) &&
                       ::FlushFileBuffers(file.get());
        file.reset(); // closed first: an open file cannot be deleted
        if (!written)
            fail();
    }
    if (!::MoveFileExW(temporary.c_str(), path_.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        fail();
}

} // namespace vistrel
