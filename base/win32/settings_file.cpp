#include "base/win32/settings_file.h"

#include "base/error.h"
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

std::wstring Decode(const std::vector<uint8_t>& bytes) {
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        std::wstring text((bytes.size() - 2) / 2, L'\0');
        for (size_t i = 0; i < text.size(); ++i)
            text[i] = static_cast<wchar_t>(bytes[2 + 2 * i] | bytes[3 + 2 * i] << 8);
        return text;
    }
    UINT codePage = CP_ACP;
    size_t skip = 0;
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        codePage = CP_UTF8;
        skip = 3;
    }
    const auto* p = reinterpret_cast<const char*>(bytes.data() + skip);
    const int size = static_cast<int>(bytes.size() - skip);
    int n = ::MultiByteToWideChar(codePage, 0, p, size, nullptr, 0);
    std::wstring text(static_cast<size_t>(std::max(n, 0)), L'\0');
    if (n > 0)
        ::MultiByteToWideChar(codePage, 0, p, size, text.data(), n);
    return text;
}

} // namespace

std::optional<std::wstring> SettingsFile::Read() const {
    std::optional<std::vector<uint8_t>> bytes = ReadExisting(path_);
    if (!bytes)
        return std::nullopt;
    return Decode(*bytes);
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
        static const uint8_t kMark[] = {0xFF, 0xFE};
        bool written = file && WriteAll(file.get(), kMark, sizeof kMark) &&
                       WriteAll(file.get(), text.data(), text.size() * sizeof(wchar_t)) &&
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
