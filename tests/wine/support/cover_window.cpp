// A plain window of another program, in one colour, lying where it is told: over part of the
// browser's view, say. WM_APP posted to it makes it the foreground window on top of the
// others again, as the user's switching to it does.
//
//   cover-window X Y WIDTH HEIGHT

#include <windows.h>

#include <cwchar>

namespace {

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    if (msg == WM_APP) {
        SetForegroundWindow(hwnd);
        SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    int x = 0, y = 0, w = 100, h = 100;
    if (swscanf(commandLine, L"%d %d %d %d", &x, &y, &w, &h) != 4)
        return 2;
    WNDCLASSW cls{};
    cls.lpfnWndProc = Proc;
    cls.hInstance = instance;
    cls.hbrBackground = CreateSolidBrush(RGB(255, 0, 255));
    cls.lpszClassName = L"CoverWindow";
    RegisterClassW(&cls);
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"CoverWindow", L"Cover", WS_POPUP, x, y, w, h,
                                  nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}
