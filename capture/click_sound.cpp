#include "capture/click_sound.h"

#include <windows.h>

#include <mmsystem.h>

namespace vistrel {

void PlayClickSound() {
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC resource = ::FindResourceW(module, L"Click", MAKEINTRESOURCEW(10) /*RT_RCDATA*/);
    if (!resource)
        return;
    HGLOBAL loaded = ::LoadResource(module, resource);
    if (!loaded)
        return;
    if (const void* wave = ::LockResource(loaded))
        ::PlaySoundW(static_cast<LPCWSTR>(wave), nullptr, SND_MEMORY | SND_SYNC | SND_NODEFAULT);
    ::FreeResource(loaded);
}

} // namespace vistrel
