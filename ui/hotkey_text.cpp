#include "ui/hotkey_text.h"

#include <array>
#include <cwctype>

namespace vistrel {

namespace {

struct Named {
    const wchar_t* name;
    unsigned value;
};

// In the order they are written.
constexpr std::array<Named, 4> kModifiers = {{
    {L"Ctrl", Hotkey::kCtrl},
    {L"Alt", Hotkey::kAlt},
    {L"Shift", Hotkey::kShift},
    {L"Win", Hotkey::kWin},
}};

// Keys with names of their own (virtual-key codes).
constexpr std::array<Named, 7> kKeys = {{
    {L"Insert", 0x2D},
    {L"Home", 0x24},
    {L"End", 0x23},
    {L"PageUp", 0x21},
    {L"PageDown", 0x22},
    {L"Pause", 0x13},
    {L"PrintScreen", 0x2C},
}};

constexpr unsigned kF1 = 0x70, kNum0 = 0x60;
constexpr unsigned kPause = 0x13, kBreak = 0x03;

bool SameText(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(b[i]))
            return false;
    return true;
}

// A decimal number of one or two digits, no sign, no leading zero.
std::optional<unsigned> SmallNumber(std::wstring_view digits) {
    if (digits.empty() || digits.size() > 2 || digits[0] == L'0')
        return std::nullopt;
    unsigned n = 0;
    for (wchar_t c : digits) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        n = n * 10 + static_cast<unsigned>(c - L'0');
    }
    return n;
}

std::optional<unsigned> KeyOfName(std::wstring_view name) {
    if (name.size() == 1) {
        wchar_t c = static_cast<wchar_t>(std::towupper(name[0]));
        if ((c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9'))
            return static_cast<unsigned>(c);
        return std::nullopt;
    }
    for (const Named& k : kKeys)
        if (SameText(name, k.name))
            return k.value;
    if (name.size() >= 2 && (name[0] == L'F' || name[0] == L'f'))
        if (auto n = SmallNumber(name.substr(1)); n && *n >= 1 && *n <= 24)
            return kF1 + *n - 1;
    if (name.size() == 4 && SameText(name.substr(0, 3), L"Num") && name[3] >= L'0' &&
        name[3] <= L'9')
        return kNum0 + static_cast<unsigned>(name[3] - L'0');
    return std::nullopt;
}

// A letter or digit would be taken from every program the user types in: it needs Ctrl, Alt
// or Win to be a hotkey.
bool TakesTyping(Hotkey hotkey) {
    const unsigned k = hotkey.key;
    const bool typed =
        (k >= L'A' && k <= L'Z') || (k >= L'0' && k <= L'9') || (k >= kNum0 && k <= kNum0 + 9);
    return typed && !(hotkey.modifiers & (Hotkey::kCtrl | Hotkey::kAlt | Hotkey::kWin));
}

} // namespace

std::optional<Hotkey> ParseHotkey(std::wstring_view text) {
    std::wstring compact;
    for (wchar_t c : text)
        if (!std::iswspace(c))
            compact += c;
    if (compact.empty())
        return Hotkey{};
    Hotkey hotkey;
    size_t start = 0;
    for (;;) {
        size_t plus = compact.find(L'+', start);
        std::wstring_view part = std::wstring_view(compact).substr(
            start, plus == std::wstring::npos ? std::wstring::npos : plus - start);
        if (plus == std::wstring::npos) {
            auto key = KeyOfName(part);
            if (!key)
                return std::nullopt;
            hotkey.key = *key;
            if (TakesTyping(hotkey))
                return std::nullopt;
            if (hotkey.key == kPause && (hotkey.modifiers & Hotkey::kCtrl))
                hotkey.key = kBreak;
            return hotkey;
        }
        const Named* modifier = nullptr;
        for (const Named& m : kModifiers)
            if (SameText(part, m.name))
                modifier = &m;
        if (!modifier || (hotkey.modifiers & modifier->value))
            return std::nullopt;
        hotkey.modifiers |= modifier->value;
        start = plus + 1;
    }
}

std::optional<std::wstring> FormatHotkey(Hotkey hotkey) {
    if (hotkey.None())
        return std::wstring();
    std::wstring text;
    for (const Named& m : kModifiers)
        if (hotkey.modifiers & m.value)
            text += std::wstring(m.name) + L"+";
    if (hotkey.modifiers &
            ~unsigned{Hotkey::kAlt | Hotkey::kCtrl | Hotkey::kShift | Hotkey::kWin} ||
        TakesTyping(hotkey))
        return std::nullopt;
    const unsigned k = hotkey.key;
    if (k == kPause || k == kBreak) {
        if ((k == kBreak) != ((hotkey.modifiers & Hotkey::kCtrl) != 0))
            return std::nullopt;
        return text + L"Pause";
    }
    if ((k >= L'A' && k <= L'Z') || (k >= L'0' && k <= L'9'))
        return text + static_cast<wchar_t>(k);
    if (k >= kF1 && k < kF1 + 24)
        return text + L"F" + std::to_wstring(k - kF1 + 1);
    if (k >= kNum0 && k <= kNum0 + 9)
        return text + L"Num" + std::to_wstring(k - kNum0);
    for (const Named& named : kKeys)
        if (named.value == k)
            return text + named.name;
    return std::nullopt;
}

bool IsExtendedKey(unsigned key) {
    // Page Up to the arrows (0x21 to 0x28), Insert and Delete.
    return (key >= 0x21 && key <= 0x28) || key == 0x2D || key == 0x2E || key == kBreak;
}

} // namespace vistrel
