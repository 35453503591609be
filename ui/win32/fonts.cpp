#include "ui/win32/fonts.h"

namespace vistrel {

namespace {

UniqueFont Create(const wchar_t* face, int dpi, const FontStyle& style) {
    LOGFONTW lf{};
    lf.lfHeight = -::MulDiv(style.pixelHeight, dpi, 96);
    lf.lfWeight = style.weight;
    lf.lfUnderline = style.underline;
    lf.lfCharSet = RUSSIAN_CHARSET; // every caption is Cyrillic
    lf.lfQuality = DEFAULT_QUALITY;
    wcsncpy_s(lf.lfFaceName, face, _TRUNCATE);
    return UniqueFont(::CreateFontIndirectW(&lf));
}

// Whether the font the system gives has the face asked for, with Cyrillic letters.
bool GivenAsAsked(HFONT font, const wchar_t* face) {
    WindowDC screen = WindowDC::Client(nullptr);
    SelectObjectGuard select(screen.get(), font);
    wchar_t given[LF_FACESIZE]{};
    ::GetTextFaceW(screen.get(), LF_FACESIZE, given);
    return _wcsicmp(given, face) == 0 && ::GetTextCharset(screen.get()) == RUSSIAN_CHARSET;
}

} // namespace

UniqueFont MakeUiFont(int dpi, FontStyle style) {
    UniqueFont font = Create(L"MS Sans Serif", dpi, style);
    if (font && GivenAsAsked(font.get(), L"MS Sans Serif"))
        return font;
    UniqueFont fallback = Create(L"Tahoma", dpi, style);
    return fallback ? std::move(fallback) : std::move(font);
}

std::wstring FontFaceOf(HFONT font) {
    WindowDC screen = WindowDC::Client(nullptr);
    SelectObjectGuard select(screen.get(), font);
    wchar_t given[LF_FACESIZE]{};
    ::GetTextFaceW(screen.get(), LF_FACESIZE, given);
    return given;
}

} // namespace vistrel
