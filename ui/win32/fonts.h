#pragma once
// The program's fonts: "MS Sans Serif", 11 pixels high on a 96-DPI screen and as much
// larger as the window's screen is, with Cyrillic letters. Where the system has that face
// without Cyrillic letters (a system whose code page is not Russian maps it to another,
// wider face), another of nearly the same measures that has them is taken: Tahoma on
// every Windows, a Helvetica-like or condensed face under Wine on Linux. The face is the
// first that the system really gives, with Cyrillic letters, and in which the captions
// fit their controls; where none fits, the best is made smaller until it does.

#include "base/win32/handles.h"

#include <functional>
#include <string>

namespace vistrel {

struct FontStyle {
    int weight = FW_NORMAL;
    bool underline = false;
};

// Whether the captions fit their controls in a font (made for the given DPI).
using CaptionsFit = std::function<bool(HFONT font, int dpi)>;

// Chooses the face and height all the program's fonts are made with (at start-up, once a
// window can measure its captions).
void ChooseUiFont(int dpi, const CaptionsFit& fits);

UniqueFont MakeUiFont(int dpi, FontStyle style = {});

// The chosen face and its height in pixels at 96 DPI (11 unless no face fits at 11).
const std::wstring& UiFontFace();
int UiFontHeight();

} // namespace vistrel
