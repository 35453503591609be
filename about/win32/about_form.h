#pragma once
// The about dialog: name and version, a line of text, and links to the web site and the
// mail address. Created once at start-up and shown modally on request.

#include "base/win32/handles.h"
#include "ui/win32/dialog.h"
#include "ui/win32/panels.h"

namespace vistrel {

class TAboutForm : public TDialog {
public:
    static constexpr wchar_t kClassName[] = L"TAboutForm";
    static constexpr wchar_t kCaption[] = L"О программе";
    static constexpr wchar_t kWebAddress[] = L"http://vistrel.ru/";
    static constexpr wchar_t kMailAddress[] = L"foto@vistrel.ru";
    static constexpr int kClientWidth = 294;
    static constexpr int kClientHeight = 105;

    void Create(HWND owner);
    // Shows the dialog and returns when it is closed: IDOK from the button, IDCANCEL from
    // the close box or Escape.
    int ShowModal();

    TImage Image;
    TLabel botVersion;
    TLabel Label2;
    TLabel Label3;
    TLabel Label4;
    TButton Button1;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void Label3Click(TObject* Sender);
    void Label4Click(TObject* Sender);

private:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Layout(int dpi) override;
    void OnCommand(HWND control, WORD code) override;
    void PaintEmblem(HDC dc);
    bool IsLink(HWND hwnd) const;

    UniqueFont font_, linkFont_;
    UniqueBitmap emblem_;
    HWND owner_ = nullptr;
};

extern TAboutForm* AboutForm;

} // namespace vistrel
