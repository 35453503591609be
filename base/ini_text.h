#pragma once
// The settings file's text, read and edited as the system's INI functions do: "[section]"
// lines and "key=value" lines, sections and keys matched without regard to letter case
// (the first of each wins), blanks around keys and values dropped, and one pair of quotes
// enclosing a value dropped on reading. Editing changes only the lines it must: the user's
// own keys, sections and comments stay as they were.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vistrel {

class IniText {
public:
    IniText() = default;
    explicit IniText(std::wstring_view text);

    // The value of the key, or nothing when the section or the key is not there.
    std::optional<std::wstring> Get(std::wstring_view section, std::wstring_view key) const;
    // Sets the key's value: in place where the key is, else at the end of its section, else
    // in a new section at the end. The value reads back as it is (it is quoted where it
    // has blanks around it or quotes that reading would drop), up to a line break.
    void Set(std::wstring_view section, std::wstring_view key, std::wstring_view text);

    // The whole text, lines ended by CR LF.
    std::wstring Text() const;

private:
    struct Line {
        std::wstring text;
        // For "[section]" lines: the section's name; for "key=value" lines: the key. Both
        // without blanks around them.
        std::wstring name;
        enum Kind : unsigned char { Other, Section, Key } kind = Other;
        size_t valueStart = 0; // for Key lines: where the value begins in text
    };
    static Line Parse(std::wstring text);
    // The lines of the first section with this name: [first line after its header, end).
    std::optional<std::pair<size_t, size_t>> FindSection(std::wstring_view section) const;
    std::optional<size_t> FindKey(std::pair<size_t, size_t> lines, std::wstring_view key) const;

    std::vector<Line> lines_;
};

} // namespace vistrel
