// A DLL that stands for one planted beside the program: loading it leaves a mark in its
// folder, so a test can tell whether the program ever loaded it.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        wchar_t path[MAX_PATH];
        DWORD n = GetModuleFileNameW(instance, path, MAX_PATH);
        while (n > 0 && path[n - 1] != L'\\')
            --n;
        lstrcpynW(path + n, L"planted-dll-was-loaded", MAX_PATH - static_cast<int>(n));
        CloseHandle(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    return TRUE;
}

extern "C" __declspec(dllexport) BOOL WINAPI PlaySoundW(LPCWSTR, HMODULE, DWORD) {
    return TRUE;
}
