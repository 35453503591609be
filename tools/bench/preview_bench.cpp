// The preview under the system it runs on: from selecting a photo to the end of its first
// paint, for a 1920 by 1080 and a 6000 by 4000 JPEG; arrowing down through 200 1080p
// photos; the peak memory while a 6000 by 4000 photo is shown; and one step of a drag of
// the window's frame beside a 640 by 480 and a 6000 by 4000 photo.
//
//   preview-bench WORKFOLDER [RUNS]

#include "app/win32/main_window.h"
#include "capture/jpeg_file.h"
#include "capture/png_file.h"
#include "tools/bench/timing.h"
#include "tools/standin/pattern.h"
#include "ui/win32/application.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cwchar>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

using namespace vistrel;
using bench::Clock;
using bench::Median;
using bench::MsSince;
namespace fs = std::filesystem;

namespace {

// A picture that compresses like a photo: gradients with fine noise on them.
PixelBuffer PhotoLike(int w, int h, int seed) {
    PixelBuffer p(w, h, 32);
    uint32_t noise = static_cast<uint32_t>(seed) * 2654435761u + 1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            standin::Rgb c = standin::PatternPixel(x / 3 + seed, y / 2 + seed);
            uint8_t* px = p.Row(y) + 4 * x;
            noise = noise * 1103515245 + 12345;
            int n = static_cast<int>((noise >> 16) & 15) - 8;
            px[0] = static_cast<uint8_t>(std::clamp(c.b + n, 0, 255));
            px[1] = static_cast<uint8_t>(std::clamp(c.g + n, 0, 255));
            px[2] = static_cast<uint8_t>(std::clamp(c.r + n, 0, 255));
        }
    return p;
}

void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

void WriteJpeg(const fs::path& path, int w, int h, int seed) {
    WriteBytes(path, EncodeJpeg(PhotoLike(w, h, seed).View(), 90));
}

void WritePng(const fs::path& path, int w, int h, int seed) {
    WriteBytes(path, EncodePng(PhotoLike(w, h, seed).View()));
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

double PeakMb() {
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return pmc.PeakWorkingSetSize / 1048576.0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2)
        return 2;
    fs::path work = argv[1];
    fs::path photos = work / L"Photos";
    if (argc > 2 && !wcscmp(argv[2], L"--make")) {
        // The pictures are made in a process of their own, so that making them does not
        // count in the peak memory measured below.
        fs::create_directories(photos);
        WriteJpeg(photos / L"a_1080p.jpg", 1920, 1080, 0);
        for (int i = 0; i < 200; ++i) {
            wchar_t name[32];
            swprintf(name, 32, L"b_%03d.jpg", i);
            WriteJpeg(photos / name, 1920, 1080, i);
        }
        WriteJpeg(photos / L"c_6000x4000.jpg", 6000, 4000, 7);
        WriteJpeg(photos / L"d_640x480.jpg", 640, 480, 9);
        WritePng(photos / L"a_1080p.png", 1920, 1080, 0);
        return 0;
    }
    int runs = argc > 2 ? _wtoi(argv[2]) : 5;
    {
        wchar_t self[MAX_PATH * 4];
        GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
        std::wstring cmd = L"\"" + std::wstring(self) + L"\" \"" + work.wstring() + L"\" --make";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(self, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                            &pi))
            return 1;
        WaitForSingleObject(pi.hProcess, INFINITE);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }

    Application.Initialize(GetModuleHandleW(nullptr));
    MainWindow form((work / L"vistrel.exe").wstring());
    form.Create(Application.Handle());
    Application.SetMainWindow(form.Handle());
    ShowWindow(form.Handle(), SW_SHOW);
    UpdateWindow(form.Handle());
    Pump();
    double baseline = PeakMb();

    auto firstPaint = [&](const fs::path& file) {
        std::vector<double> times;
        for (int i = 0; i < runs; ++i) {
            form.PhotoList.Reread();
            Pump();
            auto t0 = Clock::now();
            form.PhotoList.SelectByPath(file.wstring());
            UpdateWindow(form.Preview.Handle());
            times.push_back(MsSince(t0));
        }
        return Median(times);
    };
    std::printf("preview_first_paint_1080p: %.1f ms\n", firstPaint(photos / L"a_1080p.jpg"));
    std::printf("preview_first_paint_1080p_png: %.1f ms\n", firstPaint(photos / L"a_1080p.png"));
    std::fflush(stdout);

    // Arrowing down: 200 key presses queued as a held key would queue them, then the
    // window catches up. A newer selection supersedes an older one's decode.
    form.PhotoList.SelectByPath((photos / L"b_000.jpg").wstring());
    UpdateWindow(form.Preview.Handle());
    Pump();
    SetFocus(form.PhotoList.Handle());
    auto t0 = Clock::now();
    for (int i = 0; i < 199; ++i)
        PostMessageW(form.PhotoList.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    Pump();
    UpdateWindow(form.Preview.Handle());
    double arrow = MsSince(t0);
    std::printf("preview_arrow_through_200_1080p: %.0f ms in all (%ls selected)\n", arrow,
                form.PhotoList.Item(form.PhotoList.ItemIndex()).c_str());
    std::fflush(stdout);

    std::printf("preview_first_paint_6000x4000: %.0f ms\n",
                firstPaint(photos / L"c_6000x4000.jpg"));
    std::printf("preview_peak_working_set_6000x4000: %.0f MB (%.0f MB before any preview)\n",
                PeakMb(), baseline);
    std::fflush(stdout);

    // A drag of the window's frame beside a photo: each step a size change and a repaint,
    // between the system's enter- and exit-size-move messages.
    auto resizeStep = [&](const fs::path& file) {
        form.PhotoList.SelectByPath(file.wstring());
        UpdateWindow(form.Handle());
        Pump();
        RECT r = form.Bounds();
        const int width = r.right - r.left, height = r.bottom - r.top;
        SendMessageW(form.Handle(), WM_ENTERSIZEMOVE, 0, 0);
        std::vector<double> steps;
        for (int i = 1; i <= 31; ++i) {
            auto s0 = Clock::now();
            form.SetBounds(r.left, r.top, width + 4 * i, height);
            RedrawWindow(form.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            GdiFlush();
            steps.push_back(MsSince(s0));
        }
        SendMessageW(form.Handle(), WM_EXITSIZEMOVE, 0, 0);
        UpdateWindow(form.Handle());
        form.SetBounds(r.left, r.top, width, height);
        UpdateWindow(form.Handle());
        Pump();
        return Median(steps);
    };
    std::printf("preview_resize_step_640x480: %.1f ms\n", resizeStep(photos / L"d_640x480.jpg"));
    std::printf("preview_resize_step_6000x4000: %.1f ms\n",
                resizeStep(photos / L"c_6000x4000.jpg"));
    form.Destroy();
    return 0;
}
