#pragma once
// An INI file through the system's INI functions: values read one by one, and a set of
// values written so that the file is replaced whole or not at all.

#include <optional>
#include <string>
#include <vector>

namespace vistrel {

class IniFile {
public:
    explicit IniFile(std::wstring path) : path_(std::move(path)) {}
    const std::wstring& Path() const { return path_; }

    // The value as the system's INI reader gives it (blanks around it and one pair of
    // enclosing quotes dropped), or nothing when the key is missing.
    std::optional<std::wstring> Read(const wchar_t* section, const wchar_t* key) const;

    struct Entry {
        const wchar_t* section;
        const wchar_t* key;
        std::wstring value;
    };
    // Writes the entries, in order, into a Unicode copy of the file (keeping the user's
    // own sections and keys) and puts the copy in the file's place: a write that fails
    // (full disk, read-only place) leaves the old file as it was. Throws "Unable to write
    // to <path>".
    void Write(const std::vector<Entry>& entries) const;

private:
    std::wstring path_;
};

} // namespace vistrel
