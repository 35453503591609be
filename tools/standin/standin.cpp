// A stand-in for the 3-D chat browser: a top-level window of class "alphaworld" whose
// child of class and title "Active Worlds Viewport" shows a known picture.
//
//   aw-standin [--view WIDTHxHEIGHT] [--at X,Y] [--no-view]
//
// The view's outer size defaults to 808 by 608 and its top-left corner to 40,40 on the
// screen; --no-view creates the top-level window alone. The messages WM_APP + 1 and
// WM_APP + 2 posted to the top-level window take the view away and bring it back, as the
// browser does when it leaves a world and enters another.

#include "tools/standin/pattern.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

struct Options {
    int width = 808, height = 608, x = 40, y = 40;
    bool view = true;
};

std::vector<uint32_t> g_pixels;
int g_width = 0, g_height = 0;

void FillPattern(int width, int height) {
    g_width = width;
    g_height = height;
    g_pixels.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            standin::Rgb c = standin::PatternPixel(x, y);
            g_pixels[static_cast<size_t>(y) * width + x] =
                (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b;
        }
}

LRESULT CALLBACK ViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ERASEBKGND)
        return 1;
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = g_width;
        bi.bmiHeader.biHeight = -g_height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        SetDIBitsToDevice(dc, 0, 0, g_width, g_height, 0, 0, 0, g_height, g_pixels.data(), &bi,
                          DIB_RGB_COLORS);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND MakeView(HWND top) {
    return CreateWindowExW(0, L"Active Worlds Viewport", L"Active Worlds Viewport",
                           WS_CHILD | WS_VISIBLE, 0, 0, g_width, g_height, top, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    HWND view = FindWindowExW(hwnd, nullptr, L"Active Worlds Viewport", nullptr);
    if (msg == WM_APP + 1) {
        if (view)
            DestroyWindow(view);
        return 0;
    }
    if (msg == WM_APP + 2) {
        if (!view)
            MakeView(hwnd);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool ParseArgs(Options& o) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    for (int i = 1; i < argc; ++i) {
        if (!wcscmp(argv[i], L"--view") && i + 1 < argc) {
            if (swscanf(argv[++i], L"%dx%d", &o.width, &o.height) != 2)
                return false;
        } else if (!wcscmp(argv[i], L"--at") && i + 1 < argc) {
            if (swscanf(argv[++i], L"%d,%d", &o.x, &o.y) != 2)
                return false;
        } else if (!wcscmp(argv[i], L"--no-view")) {
            o.view = false;
        } else {
            return false;
        }
    }
    LocalFree(argv);
    return o.width > 0 && o.height > 0;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    Options o;
    if (!ParseArgs(o)) {
        MessageBoxW(nullptr, L"aw-standin [--view WIDTHxHEIGHT] [--at X,Y] [--no-view]",
                    L"aw-standin", MB_OK);
        return 2;
    }
    FillPattern(o.width, o.height);

    WNDCLASSW frame{};
    frame.lpfnWndProc = FrameProc;
    frame.hInstance = instance;
    frame.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    frame.hbrBackground = GetSysColorBrush(COLOR_APPWORKSPACE);
    frame.lpszClassName = L"alphaworld";
    RegisterClassW(&frame);
    WNDCLASSW view{};
    view.lpfnWndProc = ViewProc;
    view.hInstance = instance;
    view.hCursor = LoadCursorW(nullptr, IDC_CROSS);
    view.lpszClassName = L"Active Worlds Viewport";
    RegisterClassW(&view);

    HWND top =
        CreateWindowExW(0, L"alphaworld", L"Active Worlds Stand-in", WS_POPUP | WS_CLIPCHILDREN,
                        o.x, o.y, o.width, o.height, nullptr, nullptr, instance, nullptr);
    if (!top)
        return 1;
    if (o.view)
        MakeView(top);
    ShowWindow(top, SW_SHOWNOACTIVATE);
    UpdateWindow(top);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
