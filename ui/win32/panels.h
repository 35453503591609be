#pragma once
// The program's own container and picture controls: panels with a lowered bevel and an
// optional centred caption, tab pages, and picture areas that paint through a callback.
// Containers pass their children's notifications on to the top-level window, which
// dispatches them to the controls.

#include "ui/win32/controls.h"

#include <functional>

namespace vistrel {

class TPanel : public TControl {
public:
    static constexpr wchar_t kClassName[] = L"TPanel";

    // The colours and caption font; a panel without a bevel is a plain page.
    COLORREF Color = ::GetSysColor(COLOR_BTNFACE);
    COLORREF FontColor = ::GetSysColor(COLOR_BTNTEXT);
    HFONT CaptionFont = nullptr;
    bool Bevel = true;

    static constexpr int kBevelWidth = 2; // two lowered one-pixel bevels

    void Create(HWND parent, const std::wstring& caption, DWORD style);
    // Paints the background and the centred caption into a DC whose origin is the
    // panel's top-left corner: also used by children that let the panel show through.
    void PaintBackground(HDC dc) const;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

using TTabSheet = TPanel;

// A picture area: paints whatever its OnPaint draws, on nothing (what is not painted keeps
// what the parent drew).
class TImage : public TControl {
public:
    static constexpr wchar_t kClassName[] = L"TImage";
    std::function<void(HDC dc, const RECT& client)> OnPaint;

    void Create(HWND parent, DWORD style);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

} // namespace vistrel
