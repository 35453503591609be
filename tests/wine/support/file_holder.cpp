// Stands for a virus scanner or sync client: waits for a new temporary photo file in a
// folder and holds it open, without delete sharing, for a while.
//
//   file-holder FOLDER HOLD_MS
//
// Exits with 0 when it held a file; it is stopped from outside when it never gets one.

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    if (argc < 3)
        return 2;
    const std::wstring folder = argv[1];
    const DWORD hold = static_cast<DWORD>(_wtoi(argv[2]));
    HANDLE change =
        FindFirstChangeNotificationW(folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
    if (change == INVALID_HANDLE_VALUE)
        return 2;
    for (;;) {
        WaitForSingleObject(change, INFINITE);
        WIN32_FIND_DATAW fd;
        HANDLE find = FindFirstFileW((folder + L"\\~vistrel-*.tmp").c_str(), &fd);
        if (find != INVALID_HANDLE_VALUE) {
            FindClose(find);
            // Opened again and again, from a few threads at once, until the program that
            // writes it lets go of it for an instant.
            const std::wstring path = folder + L"\\" + fd.cFileName;
            std::atomic<bool> held{false}, gone{false};
            std::vector<std::thread> tries;
            for (int i = 0; i < 3; ++i)
                tries.emplace_back([&] {
                    while (!held && !gone) {
                        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                  OPEN_EXISTING, 0, nullptr);
                        if (file != INVALID_HANDLE_VALUE) {
                            if (!held.exchange(true)) {
                                Sleep(hold);
                            }
                            CloseHandle(file);
                            return;
                        }
                        if (GetLastError() != ERROR_SHARING_VIOLATION)
                            gone = true; // named, or removed
                    }
                });
            for (auto& t : tries)
                t.join();
            if (held)
                return 0;
        }
        FindNextChangeNotification(change);
    }
}
