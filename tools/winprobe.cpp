// A small helper for scripts: finds the program's windows and reports or acts on them.
//
//   winprobe window CLASS            prints the top-level window's screen rectangle
//   winprobe control CLASS TEXT      prints the centre of the control with that text
//   winprobe close CLASS             closes the top-level window and waits for it to go
//
// Exits with 1 when the window or control is not there.

#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

struct Search {
    const wchar_t* text;
    HWND found;
};

BOOL CALLBACK FindByText(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    wchar_t buffer[256];
    GetWindowTextW(hwnd, buffer, 256);
    if (IsWindowVisible(hwnd) && wcscmp(buffer, s->text) == 0) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3)
        return 2;
    HWND top = FindWindowW(argv[2], nullptr);
    if (!top)
        return 1;
    RECT r;
    if (!wcscmp(argv[1], L"window")) {
        GetWindowRect(top, &r);
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
        return 0;
    }
    if (!wcscmp(argv[1], L"control") && argc >= 4) {
        Search s{argv[3], nullptr};
        EnumChildWindows(top, FindByText, reinterpret_cast<LPARAM>(&s));
        if (!s.found)
            return 1;
        GetWindowRect(s.found, &r);
        std::printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        return 0;
    }
    if (!wcscmp(argv[1], L"close")) {
        PostMessageW(top, WM_CLOSE, 0, 0);
        for (int i = 0; i < 500 && IsWindow(top); ++i)
            Sleep(10);
        return IsWindow(top) ? 1 : 0;
    }
    return 2;
}
