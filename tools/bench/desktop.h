#pragma once
// The benchmarks' hands on the desktop: starting and stopping programs, waiting for windows,
// finding the panel's controls, and timing a photo from what triggers it to its file.

#include "tools/bench/timing.h"

#include <windows.h>

#include <filesystem>
#include <functional>
#include <cwchar>
#include <string>

namespace bench {

namespace fs = std::filesystem;

inline fs::path Here() {
    wchar_t buffer[MAX_PATH * 4];
    DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 4);
    return fs::path(std::wstring(buffer, n)).parent_path();
}

inline PROCESS_INFORMATION Start(const fs::path& exe, const std::wstring& args) {
    std::wstring cmd = L"\"" + exe.wstring() + L"\" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                   exe.parent_path().c_str(), &si, &pi);
    return pi;
}

inline void Stop(PROCESS_INFORMATION& pi) {
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
}

// Polls about every millisecond until f() holds or the time is up.
template <typename F> bool Poll(F f, int ms) {
    const auto start = Clock::now();
    while (MsSince(start) < ms) {
        if (f())
            return true;
        Sleep(1);
    }
    return f();
}

// The first child of the window for which test(child) holds.
inline HWND ChildWhere(HWND parent, const std::function<bool(HWND)>& test) {
    struct Search {
        const std::function<bool(HWND)>* test;
        HWND found = nullptr;
    } search{&test};
    EnumChildWindows(
        parent,
        [](HWND h, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            if (!(*s->test)(h))
                return TRUE;
            s->found = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A choice in the type list, as the user's choice reaches the program.
inline void ChooseType(HWND box, int entry) {
    SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
    SendMessageW(GetParent(box), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box));
}

// The photos in the folder, without the temporary file a photo is written to.
inline size_t PhotosIn(const fs::path& folder) {
    size_t n = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        n += entry.path().filename().wstring().front() != L'~';
    return n;
}

// Closes the panel and waits for its program to end.
inline void ClosePanel(HWND main, PROCESS_INFORMATION& program, DWORD waitMs = 20000) {
    PostMessageW(main, WM_CLOSE, 0, 0);
    WaitForSingleObject(program.hProcess, waitMs);
    CloseHandle(program.hProcess);
    CloseHandle(program.hThread);
}

// Whether the panel has a photo under way or waiting (it answers a registered message).
inline bool PhotoUnderWay(HWND main) {
    static const UINT query = RegisterWindowMessageW(L"Vistrel.PhotoUnderWay");
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(main, query, 0, 0, SMTO_NORMAL, 10000, &result) && result;
}

// The panel's window and its photo button, waited for.
inline bool FindPanel(HWND& main, HWND& button) {
    return Poll(
        [&] {
            main = FindWindowW(L"TMainForm", nullptr);
            button = main ? ChildWhere(main,
                                       [](HWND h) {
                                           wchar_t text[64];
                                           GetWindowTextW(h, text, 64);
                                           return !wcscmp(text, L"Сфотографировать");
                                       })
                          : nullptr;
            return button != nullptr && IsWindowVisible(main);
        },
        20000);
}

// From trigger() to the photo under its name, and the photo then ended; -1 when no photo
// came.
template <typename F> double TimePhoto(const fs::path& folder, HWND main, F trigger) {
    const size_t before = PhotosIn(folder);
    auto t0 = Clock::now();
    trigger();
    bool made = Poll([&] { return PhotosIn(folder) > before; }, 10000);
    double ms = MsSince(t0);
    Poll([&] { return !PhotoUnderWay(main); }, 10000);
    DWORD_PTR idle; // a program that takes its photo inside the click's handler is done too
    SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &idle);
    return made ? ms : -1;
}

} // namespace bench
