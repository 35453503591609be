#pragma once
// The photo file-name template: a format text with one integer placeholder, formatted in
// the printf manner by the program's own formatter (the template is user text from the
// settings file, so it is never handed to a printf-family function).
//
// A placeholder is "%", an optional argument index and ":", an optional "-", an optional
// width ("*" takes it from the arguments), an optional "." and precision, and the
// conversion letter in either case. "d", "u" and "x" format the integer; "%%" is a percent
// sign. Any other conversion does not take an integer.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vistrel {

class NameTemplate {
public:
    // Parses the template; throws Error for a template that cannot be formatted with one
    // integer argument ("Format '%s' invalid or incompatible with argument", "No argument
    // for format '%s'", with the whole template as the placeholder's text), and for one
    // whose names would not be plain file names in the Photos folder, holding "\", "/",
    // ":" or ".." ("Format '%s' names a file outside the Photos folder").
    explicit NameTemplate(std::wstring_view text);

    std::wstring Format(int32_t number) const;
    // Appends the formatted name to out (no allocation once out has grown).
    void AppendTo(std::wstring& out, int32_t number) const;
    // Whether the number shows in the result at all: without an integer placeholder every
    // number gives the same name.
    bool UsesNumber() const { return usesNumber_; }
    const std::wstring& Text() const { return text_; }

    // Width and precision beyond this make names no file system takes; they are refused
    // as invalid rather than allocated.
    static constexpr int kMaxWidth = 4096;

private:
    struct Piece {
        std::wstring literal; // text before the placeholder, or all of it when last
        bool hasPlaceholder = false;
        wchar_t conversion = 0; // 'd', 'u', 'x'
        bool leftJustify = false;
        int width = -1; // -1: none
        int precision = -1;
    };

    std::wstring text_;
    std::vector<Piece> pieces_;
    bool usesNumber_ = false;
};

// Shorthand: formats once (parsing each time).
std::wstring FormatNameTemplate(std::wstring_view text, int32_t number);

} // namespace vistrel
