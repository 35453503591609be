#include "base/ini_text.h"

#include <algorithm>

namespace vistrel {

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\v' || c == L'\f' || c == L'\r' || c == 0x1A;
}

std::wstring_view Trim(std::wstring_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

wchar_t FoldAscii(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool SameName(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](wchar_t x, wchar_t y) { return FoldAscii(x) == FoldAscii(y); });
}

} // namespace

IniText::IniText(std::wstring_view text) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring_view::npos)
            end = text.size();
        lines_.push_back(Parse(std::wstring(text.substr(start, end - start))));
        // CR LF, LF or a lone CR ends a line.
        start = end;
        if (start < text.size() && text[start] == L'\r')
            ++start;
        if (start < text.size() && text[start] == L'\n')
            ++start;
    }
}

IniText::Line IniText::Parse(std::wstring text) {
    Line line;
    line.text = std::move(text);
    std::wstring_view trimmed = Trim(line.text);
    if (!trimmed.empty() && trimmed.front() == L'[') {
        size_t close = trimmed.rfind(L']');
        if (close != std::wstring_view::npos && close > 0) {
            line.kind = Line::Section;
            line.name = Trim(trimmed.substr(1, close - 1));
            return line;
        }
    }
    size_t equals = line.text.find(L'=');
    if (equals != std::wstring::npos) {
        line.kind = Line::Key;
        line.name = Trim(std::wstring_view(line.text).substr(0, equals));
        line.valueStart = equals + 1;
    }
    return line;
}

std::optional<std::pair<size_t, size_t>> IniText::FindSection(std::wstring_view section) const {
    section = Trim(section);
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind != Line::Section || !SameName(lines_[i].name, section))
            continue;
        size_t end = i + 1;
        while (end < lines_.size() && lines_[end].kind != Line::Section)
            ++end;
        return std::pair{i + 1, end};
    }
    return std::nullopt;
}

std::optional<size_t> IniText::FindKey(std::pair<size_t, size_t> lines,
                                       std::wstring_view key) const {
    key = Trim(key);
    for (size_t i = lines.first; i < lines.second; ++i)
        if (lines_[i].kind == Line::Key && SameName(lines_[i].name, key))
            return i;
    return std::nullopt;
}

std::optional<std::wstring> IniText::Get(std::wstring_view section, std::wstring_view key) const {
    auto lines = FindSection(section);
    if (!lines)
        return std::nullopt;
    auto at = FindKey(*lines, key);
    if (!at)
        return std::nullopt;
    const Line& line = lines_[*at];
    std::wstring_view value = Trim(std::wstring_view(line.text).substr(line.valueStart));
    // One pair of matching quotes around the value is not part of it.
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::wstring(value);
}

void IniText::Set(std::wstring_view section, std::wstring_view key, std::wstring_view text) {
    section = Trim(section);
    key = Trim(key);
    // A value is one line: a line break in it would start a line of its own.
    text = text.substr(0, text.find_first_of(L"\r\n"));
    // Blanks around it, or quotes that reading would take away, are kept by quoting it.
    std::wstring value(text);
    if (!text.empty() && (IsBlank(text.front()) || IsBlank(text.back()) ||
                          (text.size() >= 2 && (text.front() == L'"' || text.front() == L'\'') &&
                           text.back() == text.front())))
        value = L"\"" + value + L"\"";
    auto lines = FindSection(section);
    if (!lines) {
        // A new section, set off from the text before it by an empty line.
        if (!lines_.empty() && !Trim(lines_.back().text).empty())
            lines_.push_back(Line{});
        lines_.push_back(Parse(L"[" + std::wstring(section) + L"]"));
        lines_.push_back(Parse(std::wstring(key) + L"=" + std::wstring(value)));
        return;
    }
    if (auto at = FindKey(*lines, key)) {
        // The key keeps its own spelling; only the value changes.
        Line& line = lines_[*at];
        lines_[*at] = Parse(line.name + L"=" + std::wstring(value));
        return;
    }
    // After the section's last line that is not empty, so that a blank line before the
    // next section stays where it is.
    size_t insert = lines->second;
    while (insert > lines->first && Trim(lines_[insert - 1].text).empty())
        --insert;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert),
                  Parse(std::wstring(key) + L"=" + std::wstring(value)));
}

std::wstring IniText::Text() const {
    size_t size = 0;
    for (const Line& line : lines_)
        size += line.text.size() + 2;
    std::wstring text;
    text.reserve(size);
    for (const Line& line : lines_) {
        text += line.text;
        text += L"\r\n";
    }
    return text;
}

} // namespace vistrel
