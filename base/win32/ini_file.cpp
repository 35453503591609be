#include "base/win32/ini_file.h"

#include "base/error.h"
#include "base/ini_values.h"
#include "base/win32/file_system.h"
#include "base/win32/handles.h"

#include <windows.h>

#include <algorithm>

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

bool WriteAll(HANDLE file, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        DWORD part = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 64u << 20));
        if (!::WriteFile(file, bytes.data() + done, part, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

// The old file's text as UTF-16 with a byte-order mark, so that the INI functions keep
// writing Unicode (names and folders in any script survive on any system locale).
std::vector<uint8_t> AsUnicodeFile(const std::vector<uint8_t>& old) {
    std::vector<uint8_t> out{0xFF, 0xFE};
    if (old.size() >= 2 && old[0] == 0xFF && old[1] == 0xFE) {
        out.insert(out.end(), old.begin() + 2, old.end());
        return out;
    }
    UINT codePage = CP_ACP;
    size_t skip = 0;
    if (old.size() >= 3 && old[0] == 0xEF && old[1] == 0xBB && old[2] == 0xBF) {
        codePage = CP_UTF8;
        skip = 3;
    }
    int n = ::MultiByteToWideChar(codePage, 0, reinterpret_cast<const char*>(old.data() + skip),
                                  static_cast<int>(old.size() - skip), nullptr, 0);
    std::wstring text(static_cast<size_t>(std::max(n, 0)), L'\0');
    if (n > 0)
        ::MultiByteToWideChar(codePage, 0, reinterpret_cast<const char*>(old.data() + skip),
                              static_cast<int>(old.size() - skip), text.data(), n);
    const auto* p = reinterpret_cast<const uint8_t*>(text.data());
    out.insert(out.end(), p, p + text.size() * sizeof(wchar_t));
    return out;
}

} // namespace

std::optional<std::wstring> IniFile::Read(const wchar_t* section, const wchar_t* key) const {
    // A default that no stored value can be: the reader never returns U+FFFF.
    static constexpr wchar_t kMissing[] = L"\uFFFF";
    wchar_t buffer[kMaxIniString + 1];
    DWORD n = ::GetPrivateProfileStringW(section, key, kMissing, buffer,
                                         static_cast<DWORD>(std::size(buffer)), path_.c_str());
    std::wstring value(buffer, n);
    if (value == kMissing)
        return std::nullopt;
    return value;
}

void IniFile::Write(const std::vector<Entry>& entries) const {
    const std::wstring temporary =
        path_ + L"." + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
    auto fail = [&] {
        ::DeleteFileW(temporary.c_str());
        throw Error(FormatMessageText(L"Unable to write to %s", {path_}));
    };
    // A file that cannot be read whole is never replaced: the user's own sections in it
    // would be lost.
    std::optional<std::vector<uint8_t>> old = ReadExisting(path_);
    if (!old)
        throw Error(FormatMessageText(L"Unable to write to %s", {path_}));
    {
        UniqueFile file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        bool written = file && WriteAll(file.get(), AsUnicodeFile(*old));
        file.reset(); // closed first: an open file cannot be deleted
        if (!written)
            fail();
    }
    for (const Entry& e : entries)
        if (!::WritePrivateProfileStringW(e.section, e.key, e.value.c_str(), temporary.c_str()))
            fail();
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, temporary.c_str()); // flush
    if (!::MoveFileExW(temporary.c_str(), path_.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        fail();
}

} // namespace vistrel
