#pragma once
// The settings file as a whole text: read at once, and written so that it is replaced whole
// or not at all, and only once its new text is on the disk.

#include <optional>
#include <string>
#include <string_view>

namespace vistrel {

class SettingsFile {
public:
    explicit SettingsFile(std::wstring path) : path_(std::move(path)) {}
    const std::wstring& Path() const { return path_; }

    // The file's text (Unicode, UTF-8 or the system's code page): empty when there is no
    // file, nothing when it is there but cannot be read whole (locked, a folder, too large,
    // a read error).
    std::optional<std::wstring> Read() const;

    // Writes the text as Unicode into a copy beside the file, flushes the copy to the disk
    // and puts it in the file's place: a write that fails (full disk, read-only place), or
    // a power cut, leaves the old file as it was. Throws "Unable to write to <path>".
    void Write(std::wstring_view text) const;

private:
    std::wstring path_;
};

} // namespace vistrel
