#include "ui/win32/fonts.h"

#include <array>

namespace vistrel {

namespace {

constexpr int kDesignHeight = 11; // pixels at 96 DPI
// Down to this when no face fits at the design height.
constexpr int kSmallestHeight = 9;

// Faces of nearly the measures of "MS Sans Serif", in the order they are tried.
constexpr std::array<const wchar_t*, 7> kFaces = {
    L"MS Sans Serif", L"Tahoma",          L"Microsoft Sans Serif",  L"Arial",
    L"Nimbus Sans",   L"Liberation Sans", L"DejaVu Sans Condensed",
};

struct Choice {
    std::wstring face = L"MS Sans Serif";
    int height = kDesignHeight;
};
Choice& Chosen() {
    static Choice choice;
    return choice;
}

UniqueFont Create(const std::wstring& face, int height, int dpi, const FontStyle& style) {
    LOGFONTW lf{};
    lf.lfHeight = -::MulDiv(height, dpi, 96);
    lf.lfWeight = style.weight;
    lf.lfUnderline = style.underline;
    lf.lfCharSet = RUSSIAN_CHARSET; // every caption is Cyrillic
    lf.lfQuality = DEFAULT_QUALITY;
    wcsncpy_s(lf.lfFaceName, face.c_str(), _TRUNCATE);
    return UniqueFont(::CreateFontIndirectW(&lf));
}

// The face and character set a font really draws with.
struct Given {
    std::wstring face;
    int charset = 0;
};
Given GivenFor(HFONT font) {
    WindowDC screen = WindowDC::Client(nullptr);
    SelectObjectGuard select(screen.get(), font);
    wchar_t face[LF_FACESIZE]{};
    ::GetTextFaceW(screen.get(), LF_FACESIZE, face);
    return {face, ::GetTextCharset(screen.get())};
}

// Whether the system gives the face asked for, with Cyrillic letters.
bool GivenAsAsked(HFONT font, const std::wstring& face) {
    const Given given = GivenFor(font);
    return _wcsicmp(given.face.c_str(), face.c_str()) == 0 && given.charset == RUSSIAN_CHARSET;
}

} // namespace

void ChooseUiFont(int dpi, const CaptionsFit& fits) {
    std::wstring first; // the first face the system has, should none fit
    for (const wchar_t* face : kFaces) {
        UniqueFont font = Create(face, kDesignHeight, dpi, {});
        if (!font || !GivenAsAsked(font.get(), face))
            continue;
        if (first.empty())
            first = face;
        if (fits(font.get(), dpi)) {
            Chosen() = {face, kDesignHeight};
            return;
        }
    }
    if (first.empty()) {
        // No face has Cyrillic letters as asked: whatever the system gives for the first.
        UniqueFont given = Create(kFaces[0], kDesignHeight, dpi, {});
        first = GivenFor(given.get()).face;
    }
    int height = kDesignHeight;
    while (height > kSmallestHeight) {
        UniqueFont font = Create(first, height, dpi, {});
        if (font && fits(font.get(), dpi))
            break;
        --height;
    }
    Chosen() = {first, height};
}

UniqueFont MakeUiFont(int dpi, FontStyle style) {
    return Create(Chosen().face, Chosen().height, dpi, style);
}

const std::wstring& UiFontFace() {
    return Chosen().face;
}

int UiFontHeight() {
    return Chosen().height;
}

} // namespace vistrel
