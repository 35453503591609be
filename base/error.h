#pragma once
// The program's one kind of error: a message for the error box. Handlers that expect a
// failure catch it on the spot; everything else reaches the window procedures' firewall.

#include <exception>
#include <string>

namespace vistrel {

class Error : public std::exception {
public:
    explicit Error(std::wstring message) : message_(std::move(message)) {}
    const std::wstring& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return "vistrel::Error"; }

private:
    std::wstring message_;
};

// Replaces each "%s" of a message pattern with the next argument, in order; a pattern
// with fewer "%s" than arguments ignores the rest. Messages are built only from the
// program's own fixed patterns, never from user text taken as a pattern.
std::wstring FormatMessageText(std::wstring_view pattern,
                               std::initializer_list<std::wstring_view> args);

// The text the error box shows: a full stop is appended when the message's last
// character sorts after "." (letters, digits, Cyrillic, ":", "?"), not after ".", "!",
// ")", a quote or a blank.
std::wstring ErrorBoxText(std::wstring_view message);

// A message in plain ASCII (a library's own, say) as the error texts' wide text.
std::wstring WidenAscii(const char* text);

} // namespace vistrel
