#pragma once
// Finding an item of the photo list by typing the start of its name.

#include <string>

namespace vistrel {

// Type-ahead search in the list: characters typed within 500 ms of each other build one
// search text; Backspace takes the last one away.
class TypeAhead {
public:
    static constexpr unsigned kResetMs = 500;
    // Feeds one typed character (8 for Backspace) at the given time in milliseconds and
    // returns the search text to look for.
    const std::wstring& Type(wchar_t c, unsigned nowMs);

private:
    std::wstring text_;
    unsigned last_ = 0;
    bool started_ = false;
};

} // namespace vistrel
