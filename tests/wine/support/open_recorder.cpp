// Stands for the user's picture viewer: writes down the file it was asked to open.
//
//   open-recorder LOG FILE

#include <windows.h>

#include <shellapi.h>

#include <cstdio>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 3)
        return 2;
    FILE* log = _wfopen(argv[1], L"a, ccs=UTF-8");
    if (!log)
        return 1;
    fwprintf(log, L"%ls\n", argv[2]);
    fclose(log);
    return 0;
}
