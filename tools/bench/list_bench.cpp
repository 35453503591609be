// The photo list's re-read of a large folder, in-process, with its parts timed apart.
//
//   list-bench FOLDER [RUNS]     prints "list_reread_<n>: <ms> ms" and its parts

#include "base/win32/file_system.h"
#include "base/file_list_model.h"
#include "tools/bench/timing.h"
#include "ui/win32/file_list.h"

#include <windows.h>

#include <cstdio>
#include <vector>

using namespace vistrel;
using bench::MedianMs;

int wmain(int argc, wchar_t** argv) {
    if (argc < 2)
        return 2;
    std::wstring folder = argv[1];
    int runs = argc > 2 ? _wtoi(argv[2]) : 5;

    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 400, nullptr, nullptr,
                                  nullptr, nullptr);
    TFileListBox list;
    list.Create(parent, WS_VISIBLE);
    list.AssignFolder(folder);
    size_t count = static_cast<size_t>(list.Count());

    std::vector<std::wstring> names;
    double listing = MedianMs(runs, [&] { names = ListPlainFiles(folder); });
    double model = MedianMs(runs, [&] {
        FileListModel m(FoldFileName);
        m.Assign(names, SplitMask(L"*.bmp;*.jpg"));
    });
    double reread = MedianMs(runs, [&] { list.Reread(); });
    std::printf("list_reread_%zu: %.0f ms\n", count, reread);
    std::printf("list_folder_listing_%zu: %.0f ms\n", count, listing);
    std::printf("list_sort_%zu: %.0f ms\n", count, model);
    DestroyWindow(parent);
    return 0;
}
