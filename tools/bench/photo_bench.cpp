// The photo as the user feels it: click-to-file with the panel beside the browser's view and
// with it over the view (one run of the program); from the click to the moment the view is
// copied; the longest time the panel leaves a message unanswered while a photo is taken in an
// album of 100,000 photos; and the time from another program's change in the Photos folder to
// the list showing it.
//
//   photo-bench WORKFOLDER ALBUM100K [RUNS]
//
// ALBUM100K holds vistrel.exe and a Photos folder of 100,000 photos.

#include "app/win32/main_window.h"
#include "tools/bench/desktop.h"
#include "ui/win32/application.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

using namespace bench;

namespace {

HWND ListOf(HWND main) {
    return ChildWhere(main, [](HWND h) {
        wchar_t cls[32];
        GetClassNameW(h, cls, 32);
        return !_wcsicmp(cls, L"ListBox");
    });
}

LRESULT ListCount(HWND list) {
    DWORD_PTR count = 0;
    SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 10000, &count);
    return static_cast<LRESULT>(count);
}

// Click-to-file of a JPEG photo of an 800 by 600 view, the panel beside the view and then
// over it, in one run of the program.
void BesideAndOver(const fs::path& work, int runs) {
    const fs::path folder = work / L"beside";
    fs::create_directories(folder / L"Photos");
    fs::remove(folder / L"vistrel.exe");
    fs::copy_file(Here() / L"vistrel.exe", folder / L"vistrel.exe");
    PROCESS_INFORMATION browser = Start(Here() / L"aw-standin.exe", L"--view 808x608 --at 300,40");
    Poll([] { return FindWindowW(L"alphaworld", nullptr) != nullptr; }, 10000);
    PROCESS_INFORMATION program = Start(folder / L"vistrel.exe", L"");
    HWND main = nullptr, button = nullptr;
    FindPanel(main, button);
    auto click = [&] { PostMessageW(button, BM_CLICK, 0, 0); };
    const fs::path photos = folder / L"Photos";
    TimePhoto(photos, main, click); // the first photo loads what is loaded once
    std::vector<double> beside, over;
    for (int i = 0; i < runs; ++i)
        beside.push_back(TimePhoto(photos, main, click));
    // The panel moved over the view.
    SetWindowPos(main, nullptr, 400, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (int i = 0; i < runs; ++i)
        over.push_back(TimePhoto(photos, main, click));
    std::printf("photo_click_to_file_800x600_jpeg_panel_beside_view: %.0f ms\n", Median(beside));
    std::printf("photo_click_to_file_800x600_jpeg_panel_over_view: %.0f ms\n", Median(over));
    std::printf("photo_click_to_file_beside_over_ratio: %.2f\n", Median(beside) / Median(over));
    std::fflush(stdout);
    ClosePanel(main, program);
    Stop(browser);
}

// When the photo's screen copy began; the writer's thread copies.
std::atomic<Clock::rep> g_copied{0};
BOOL WINAPI TimedCopy(HDC target, int x, int y, int w, int h, HDC source, int sx, int sy,
                      DWORD rop) {
    g_copied = Clock::now().time_since_epoch().count();
    return BitBlt(target, x, y, w, h, source, sx, sy, rop);
}

// From the click to the moment the view is copied, the panel beside the view: measured in
// this process, where the photo's screen copy can be timed.
void ClickToCopy(const fs::path& work, int runs) {
    const fs::path folder = work / L"inprocess";
    fs::create_directories(folder / L"Photos");
    PROCESS_INFORMATION browser = Start(Here() / L"aw-standin.exe", L"--view 808x608 --at 300,40");
    Poll([] { return FindWindowW(L"alphaworld", nullptr) != nullptr; }, 10000);
    Sleep(300); // painted
    vistrel::Application.Initialize(GetModuleHandleW(nullptr));
    vistrel::MainWindow form((folder / L"vistrel.exe").wstring());
    form.Create(vistrel::Application.Handle());
    vistrel::Application.SetMainWindow(form.Handle());
    ShowWindow(form.Handle(), SW_SHOWNORMAL);
    auto pump = [&] {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    };
    auto untilDone = [&] {
        Poll(
            [&] {
                pump();
                return !form.PhotoUnderWay();
            },
            10000);
    };
    pump();
    form.Job().screenCopy = TimedCopy;
    std::vector<double> times;
    for (int i = 0; i < runs + 1; ++i) {
        const auto t0 = Clock::now();
        form.OnPhotoClick();
        untilDone();
        if (i > 0) // the first loads what is loaded once
            times.push_back(std::chrono::duration<double, std::milli>(
                                Clock::time_point(Clock::duration(g_copied.load())) - t0)
                                .count());
    }
    std::printf("photo_click_to_copy_start_800x600_panel_beside_view: %.1f ms\n", Median(times));
    std::fflush(stdout);
    form.Destroy();
    Stop(browser);
}

// The album of 100,000 photos: the longest time the panel leaves a message unanswered while
// a photo of a 1920 by 1080 view is taken, and the time from another program's new file to
// the list showing it.
void LargeAlbum(const fs::path& album, int runs) {
    PROCESS_INFORMATION browser =
        Start(Here() / L"aw-standin.exe", L"--view 1928x1088 --at 300,40");
    Poll([] { return FindWindowW(L"alphaworld", nullptr) != nullptr; }, 10000);
    PROCESS_INFORMATION program = Start(album / L"vistrel.exe", L"");
    HWND main = nullptr, button = nullptr;
    FindPanel(main, button);
    HWND list = ListOf(main);
    const fs::path photos = album / L"Photos";
    Poll([&] { return ListCount(list) >= 100000; }, 30000);

    // One thread asks the panel again and again while the photos are taken.
    std::atomic<bool> measuring{false}, stop{false};
    std::atomic<double> longest{0};
    std::thread prober([&] {
        while (!stop) {
            const auto t0 = Clock::now();
            DWORD_PTR ignored;
            SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
            const double ms = MsSince(t0);
            if (measuring && ms > longest)
                longest = ms;
            Sleep(1);
        }
    });
    for (int i = 0; i < runs; ++i) {
        const LRESULT before = ListCount(list);
        measuring = true;
        PostMessageW(button, BM_CLICK, 0, 0);
        Poll([&] { return ListCount(list) > before; }, 20000);
        Poll([&] { return !PhotoUnderWay(main); }, 20000);
        measuring = false;
    }
    stop = true;
    prober.join();
    std::printf("photo_longest_unanswered_100000_photos_1080p: %.0f ms\n", longest.load());

    std::vector<double> shown;
    for (int i = 0; i < runs; ++i) {
        const LRESULT before = ListCount(list);
        const fs::path name = photos / (L"zz_from_another_program_" + std::to_wstring(i) + L".jpg");
        const auto t0 = Clock::now();
        CloseHandle(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        Poll([&] { return ListCount(list) > before; }, 10000);
        shown.push_back(MsSince(t0));
    }
    std::printf("list_shows_another_programs_photo_100000_photos: %.0f ms\n", Median(shown));
    std::fflush(stdout);
    ClosePanel(main, program);
    Stop(browser);
    // The album as it was, for the other figures.
    for (int i = 0; i < runs; ++i) {
        DeleteFileW(
            (photos / (L"zz_from_another_program_" + std::to_wstring(i) + L".jpg")).c_str());
        DeleteFileW((photos / (L"image_" + std::to_wstring(100001 + i) + L".jpg")).c_str());
    }
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3)
        return 2;
    const fs::path work = argv[1], album = argv[2];
    const int runs = argc > 3 ? _wtoi(argv[3]) : 5;
    BesideAndOver(work, runs);
    LargeAlbum(album, runs);
    ClickToCopy(work, runs);
    return 0;
}
