#pragma once
// The settings file's bytes as text and back. The file may come from a text editor as
// UTF-8 (with or without its mark), from the program itself as UTF-16LE, or from an old
// editor in the system's ANSI code page.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vistrel {

// Turns bytes in the system's ANSI code page into text (MultiByteToWideChar(CP_ACP) on
// Windows).
using AnsiDecoder = std::function<std::wstring(std::string_view bytes)>;

// FF FE: the rest is UTF-16LE (an odd last byte is dropped). EF BB BF: the rest is UTF-8,
// each damaged sequence one U+FFFD. Without a mark, bytes that are strict UTF-8 and not
// all ASCII are UTF-8; anything else (ASCII, or CP1251 text that is no UTF-8) goes to
// ansi. Characters past U+FFFF are surrogate pairs where wchar_t has 16 bits and single
// code points where it has 32, so both give the same text.
std::wstring DecodeSettingsText(std::span<const uint8_t> bytes, const AnsiDecoder& ansi);

// FF FE and the text as UTF-16LE, as the system's INI functions keep writing it.
std::vector<uint8_t> EncodeSettingsText(std::wstring_view text);

} // namespace vistrel
