// Start-up of vistrel.exe under the current system, from process creation until the main
// window has painted, with an empty album and with large ones.
//
//   startup-bench NAME FOLDER [RUNS]
//
// FOLDER holds vistrel.exe and its Photos folder, prepared by the caller (creating 100,000
// files through Wine is slow, so scripts/bench makes them on the host). Prints
// "NAME: <ms> ms", the median of RUNS starts.

#include "tools/bench/timing.h"

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using bench::Clock;

namespace {

struct Found {
    DWORD pid;
    HWND hwnd;
};

HWND FindMain(DWORD pid) {
    Found f{pid, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* f = reinterpret_cast<Found*>(lp);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            wchar_t cls[64];
            GetClassNameW(hwnd, cls, 64);
            if (owner == f->pid && !wcscmp(cls, L"TMainForm") && IsWindowVisible(hwnd)) {
                f->hwnd = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&f));
    return f.hwnd;
}

double StartOnce(const fs::path& exe) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + exe.wstring() + L"\"";
    auto start = Clock::now();
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        exe.parent_path().c_str(), &si, &pi))
        return -1;
    HWND main = nullptr;
    while (!(main = FindMain(pi.dwProcessId)) &&
           WaitForSingleObject(pi.hProcess, 1) == WAIT_TIMEOUT) {
    }
    // A message answered after the window is visible means its first paint (sent before
    // the message loop goes idle) is done.
    DWORD_PTR ignored;
    if (main)
        SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_BLOCK, 60000, &ignored);
    double ms = bench::MsSince(start);
    if (main)
        PostMessageW(main, WM_CLOSE, 0, 0);
    WaitForSingleObject(pi.hProcess, 60000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return main ? ms : -1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3)
        return 2;
    int runs = argc > 3 ? _wtoi(argv[3]) : 5;
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(StartOnce(fs::path(argv[2]) / L"vistrel.exe"));
    std::printf("%ls: %.0f ms\n", argv[1], bench::Median(times));
    return 0;
}
