#pragma once
// The program's fonts: "MS Sans Serif", 11 pixels high on a 96-DPI screen and as much
// larger as the window's screen is, with Cyrillic letters. Where the system has that face
// without Cyrillic letters (a system whose code page is not Russian maps it to another,
// wider face), Tahoma is taken instead: it has them on every system, at nearly the same
// measures.

#include "base/win32/handles.h"

#include <string>

namespace vistrel {

struct FontStyle {
    int pixelHeight = 11; // at 96 DPI
    int weight = FW_NORMAL;
    bool underline = false;
};

UniqueFont MakeUiFont(int dpi, FontStyle style = {});

// The face a font really draws with.
std::wstring FontFaceOf(HFONT font);

} // namespace vistrel
