#pragma once
// The about dialog: name and version, a line of text, and links to the web site and the
// mail address, which Tab reaches and Enter or Space opens as a click does. Made once with
// the main window, and shown on request.

#include "base/win32/handles.h"
#include "ui/win32/dialog.h"
#include "ui/win32/panels.h"

namespace vistrel {

class AboutDialog : public TDialog {
public:
    static constexpr wchar_t kClassName[] = L"TAboutForm";
    static constexpr wchar_t kCaption[] = L"О программе";
    static constexpr wchar_t kWebAddress[] = L"http://vistrel.ru/";
    static constexpr wchar_t kMailAddress[] = L"foto@vistrel.ru";
    static constexpr int kClientWidth = 294;
    static constexpr int kClientHeight = 105;

    void Create(HWND owner);
    // Shows the dialog over the owner, with the owner's caption as the version, and returns;
    // it closes with its button, the close box or Escape.
    void Show(HWND owner);

    TImage Emblem;
    TLabel VersionLabel;
    TLabel TextLabel;
    TButton WebLink;
    TButton MailLink;
    TButton OkButton;

    void OnWebLinkClick();
    void OnMailLinkClick();

private:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Layout(int dpi) override;
    void OnCommand(HWND control, WORD code) override;
    bool OnOk() override;
    void PaintEmblem(HDC dc);
    void DrawLink(const DRAWITEMSTRUCT& item);
    bool IsLink(HWND hwnd) const;
    int TextWidth(const std::wstring& text, HFONT font) const;

    UniqueFont font_, linkFont_;
    UniqueBitmap emblem_;
};

} // namespace vistrel
