// The photo's own work on a 1920 by 1080 view, under the system it runs on: the screen copy,
// JPEG compression at quality 80 and the file written, without the 100 ms the panel waits
// for the screen to settle and without the click. Also: the next free name among 100,000
// photos, and the peak memory of vistrel.exe taking a 1080p photo.
//
//   capture-bench WORKFOLDER ALBUM100K [RUNS]

#include "app/win32/main_window.h"
#include "capture/jpeg_file.h"
#include "capture/win32/photo_bitmap.h"
#include "capture/win32/photo_file.h"
#include "tools/bench/desktop.h"
#include "tools/bench/timing.h"
#include "ui/win32/application.h"

#include <windows.h>

#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

using namespace vistrel;
using namespace bench;
using bench::Clock;
using bench::Median;
namespace fs = std::filesystem;

namespace {

double Ms(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3)
        return 2;
    fs::path work = argv[1], album = argv[2];
    int runs = argc > 3 ? _wtoi(argv[3]) : 9;

    PROCESS_INFORMATION browser = Start(Here() / L"aw-standin.exe", L"--view 1928x1088 --at 40,40");
    Poll([] { return FindWindowW(L"alphaworld", nullptr) != nullptr; }, 10000);
    Sleep(500); // painted

    std::vector<double> copy, encode, write, total;
    fs::create_directories(work / L"Photos");
    for (int i = 0; i < runs; ++i) {
        auto t0 = Clock::now();
        PhotoBitmap photo(1920, 1080);
        photo.CopyFromScreen(44, 44);
        auto t1 = Clock::now();
        std::vector<uint8_t> jpeg = EncodeJpeg(photo.View(), 80);
        auto t2 = Clock::now();
        std::wstring base = (work / L"Photos" / (L"bench_" + std::to_wstring(i))).wstring();
        SaveNewPhotoFile([&] { return base; }, [](auto&) {}, L".jpg",
                         {FileChunk{jpeg.data(), jpeg.size()}});
        auto t3 = Clock::now();
        copy.push_back(Ms(t0, t1));
        encode.push_back(Ms(t1, t2));
        write.push_back(Ms(t2, t3));
        total.push_back(Ms(t0, t3));
    }
    std::printf("capture_screen_copy_1080p: %.1f ms\n", Median(copy));
    std::printf("capture_jpeg_encode_1080p_q80: %.1f ms\n", Median(encode));
    std::printf("capture_file_write_1080p_q80: %.1f ms\n", Median(write));
    std::printf("capture_to_file_1080p_q80: %.1f ms\n", Median(total));
    std::fflush(stdout);

    // The whole program: one click on a 1080p view, its peak working set.
    fs::path exe = work / L"vistrel.exe";
    fs::copy_file(Here() / L"vistrel.exe", exe, fs::copy_options::overwrite_existing);
    {
        // The photo hotkey too, for the figure of a photo taken by it.
        HANDLE ini = CreateFileW((work / L"vistrel.ini").c_str(), GENERIC_WRITE, 0, nullptr,
                                 CREATE_ALWAYS, 0, nullptr);
        const char text[] = "[photo]\r\nhotkey=Ctrl+Shift+F9\r\n";
        DWORD written = 0;
        WriteFile(ini, text, sizeof text - 1, &written, nullptr);
        CloseHandle(ini);
    }
    PROCESS_INFORMATION program = Start(exe, L"");
    HWND main = nullptr, button = nullptr;
    FindPanel(main, button);
    DWORD_PTR idle;
    SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &idle);
    PROCESS_MEMORY_COUNTERS started{};
    started.cb = sizeof started;
    GetProcessMemoryInfo(program.hProcess, &started, sizeof started);
    const fs::path photos = work / L"Photos";
    auto click = [&] { PostMessageW(button, BM_CLICK, 0, 0); };
    std::vector<double> clicks;
    for (int i = 0; i < 3; ++i)
        clicks.push_back(TimePhoto(photos, main, click));
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(program.hProcess, &pmc, sizeof pmc);
    std::printf("photo_click_to_file_1080p_q80: %.0f ms (the panel over the view: with the 100 ms "
                "settle)\n",
                Median(clicks));
    std::printf("photo_peak_working_set_1080p: %.1f MB\n", pmc.PeakWorkingSetSize / 1048576.0);
    std::printf("photo_peak_working_set_before_first_photo: %.1f MB\n",
                started.PeakWorkingSetSize / 1048576.0);
    std::fflush(stdout);

    // An 800 by 600 view, as JPEG and as PNG photos.
    Stop(browser);
    browser = Start(Here() / L"aw-standin.exe", L"--view 808x608 --at 40,40");
    Poll([] { return FindWindowW(L"alphaworld", nullptr) != nullptr; }, 10000);
    Sleep(500); // painted
    HWND typeBox = ChildWhere(main, [](HWND h) {
        wchar_t cls[32];
        GetClassNameW(h, cls, 32);
        return !_wcsicmp(cls, L"ComboBox");
    });
    for (auto [entry, name] : {std::pair{1, "jpeg_q80"}, {2, "png"}}) {
        ChooseType(typeBox, entry);
        std::vector<double> small;
        for (int i = 0; i < runs; ++i)
            small.push_back(TimePhoto(photos, main, click));
        std::printf("photo_click_to_file_800x600_%s: %.0f ms (the panel over the view: with the "
                    "100 ms settle)\n",
                    name, Median(small));
    }
    // The same JPEG photo by the hotkey, pressed on the keyboard.
    ChooseType(typeBox, 1);
    std::vector<double> pressed;
    INPUT keys[6]{};
    const WORD order[3] = {VK_CONTROL, VK_SHIFT, VK_F9};
    for (int k = 0; k < 3; ++k) {
        keys[k].type = keys[5 - k].type = INPUT_KEYBOARD;
        keys[k].ki.wVk = keys[5 - k].ki.wVk = order[k];
        keys[5 - k].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    for (int i = 0; i < runs; ++i)
        pressed.push_back(TimePhoto(photos, main, [&] { SendInput(6, keys, sizeof(INPUT)); }));
    std::printf("photo_hotkey_to_file_800x600_jpeg_q80: %.0f ms (the panel over the view: with the "
                "100 ms settle)\n",
                Median(pressed));
    std::fflush(stdout);
    ClosePanel(main, program);
    Stop(browser);

    // The next free name among 100,000 photos numbered densely.
    Application.Initialize(GetModuleHandleW(nullptr));
    MainWindow form((album / L"vistrel.exe").wstring());
    form.Create(Application.Handle());
    // A name that is not there, looked up on the disk in a folder of 100,000 files.
    std::wstring absent = (album / L"Photos" / L"image_100001.jpg").wstring();
    auto a0 = Clock::now();
    GetFileAttributesW(absent.c_str());
    std::printf("absent_name_lookup_100000_photos: %.1f ms\n", bench::MsSince(a0));
    WIN32_FIND_DATAW fd;
    a0 = Clock::now();
    HANDLE find = FindFirstFileW((album / L"Photos" / L"image_100001.*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);
    std::printf("absent_stem_search_100000_photos: %.1f ms\n", bench::MsSince(a0));
    std::vector<double> names;
    std::wstring name;
    for (int i = 0; i < runs; ++i) {
        auto t0 = Clock::now();
        name = form.NextPhotoName({});
        names.push_back(bench::MsSince(t0));
    }
    std::printf("next_photo_name_100000_photos: %.1f ms (%ls)\n", Median(names),
                fs::path(name).filename().c_str());
    form.Destroy();
    return 0;
}
