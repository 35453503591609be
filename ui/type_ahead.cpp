#include "ui/type_ahead.h"

namespace vistrel {

const std::wstring& TypeAhead::Type(wchar_t c, unsigned nowMs) {
    if (!started_ || nowMs - last_ >= kResetMs)
        text_.clear();
    started_ = true;
    last_ = nowMs;
    if (c == L'\b') {
        if (!text_.empty())
            text_.pop_back();
    } else {
        text_ += c;
    }
    return text_;
}

} // namespace vistrel
