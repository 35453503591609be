#include "capture/win32/click_sound.h"

#include <windows.h>

#include <mmsystem.h>

namespace vistrel {

namespace {

// winmm.dll is not one of the system's known DLLs, so a copy planted beside the program
// would be loaded in its place if it were imported: it is loaded from the system folder
// only, when the first click plays.
using PlaySoundFn = BOOL(WINAPI*)(LPCWSTR, HMODULE, DWORD);

PlaySoundFn PlaySoundFunction() {
    static PlaySoundFn play = [] {
        HMODULE winmm = ::LoadLibraryExW(L"winmm.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return winmm ? reinterpret_cast<PlaySoundFn>(
                           reinterpret_cast<void*>(::GetProcAddress(winmm, "PlaySoundW")))
                     : nullptr;
    }();
    return play;
}

} // namespace

void PlayClickSound() {
    PlaySoundFn play = PlaySoundFunction();
    if (!play)
        return;
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC resource = ::FindResourceW(module, L"Click", MAKEINTRESOURCEW(10) /*RT_RCDATA*/);
    if (!resource)
        return;
    HGLOBAL loaded = ::LoadResource(module, resource);
    if (!loaded)
        return;
    // Played while the program goes on: the panel answers during the half second of the
    // click, and a photo right after it starts at once. The resource stays in memory.
    if (const void* wave = ::LockResource(loaded))
        play(static_cast<LPCWSTR>(wave), nullptr, SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
}

} // namespace vistrel
