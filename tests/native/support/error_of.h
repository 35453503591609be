#pragma once
// The message of the Error a piece of code throws, for comparing with the program's texts.

#include "base/error.h"

#include <string>

namespace testing_support {

template <typename F> std::wstring ErrorOf(F&& f) {
    try {
        f();
    } catch (const vistrel::Error& e) {
        return e.Message();
    }
    return L"(no error)";
}

} // namespace testing_support
