#pragma once
// Thin wrappers over the native controls that give them the event model the handlers rely
// on: a program change of a check box's state runs its click handler; a scroll bar's change
// handler runs only when its position, first brought into range, really differs; a program
// selection in a drop-down list runs no handler; the user's actions run the handlers.

#include "base/win32/handles.h"
#include "ui/win32/window.h"

#include <commctrl.h>

#include <functional>
#include <span>
#include <string>

namespace vistrel {

using UniqueImageList = UniqueHandle<HIMAGELIST, NullHandleTraits<HIMAGELIST, ImageList_Destroy>>;

// What a control runs when the user (or, where said, the program) changes it.
using TNotifyEvent = std::function<void()>;

// A control of a window: one of the program's own window classes, or a system control it
// stands for.
class TControl : public Window {
public:
    std::wstring Hint;

    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool Visible() const;
    void SetVisible(bool visible);
    std::wstring Text() const;
    void SetText(const std::wstring& text);

    // Notifications of the native control, routed here by the window.
    virtual void Command(WORD /*code*/) {}
    virtual void Scroll(int /*code*/, int /*thumbPosition*/) {}
};

// The control among a window's controls that has this handle, or nullptr: how a window
// finds the control a notification or the pointer's hint belongs to.
TControl* FindControl(std::span<TControl* const> controls, HWND hwnd);

class TLabel : public TControl {
public:
    TNotifyEvent OnClick; // labels created with SS_NOTIFY
    void Command(WORD code) override;
    // Labels size themselves to their text; a right-aligned one keeps its right edge.
    bool RightAligned = false;
    // Sets the text and fits the label to it, repainted whole: a label that grows would
    // otherwise show its new text over the old one for a moment.
    void SetCaption(const std::wstring& text);
    // Resizes the label to its text, keeping its left edge (or its right edge when it is
    // right-aligned).
    void AdjustBounds();
    int TextWidth() const;
    int TextWidthOf(const std::wstring& text) const;

private:
    void Place(int width, UINT flags);
};

class TButton : public TControl {
public:
    TNotifyEvent OnClick;
    void Command(WORD code) override;
};

class TCheckBox : public TControl {
public:
    TNotifyEvent OnClick;
    bool Checked() const;
    // Runs OnClick when the state changes, as a user's click would.
    void SetChecked(bool checked);
    void Command(WORD code) override;
};

class TEdit : public TControl {
public:
    TNotifyEvent OnChange; // the text changed, by the user or the program
    void Command(WORD code) override;
};

class TComboBox : public TControl {
public:
    TNotifyEvent OnChange;
    int ItemIndex() const;
    // Selects an entry (-1 for none) without running OnChange.
    void SetItemIndex(int index);
    void AddItem(const std::wstring& text);
    int Count() const;
    void Command(WORD code) override;
};

class TScrollBar : public TControl {
public:
    TNotifyEvent OnChange;
    int Min = 0, Max = 100;
    void SetRange(int min, int max);
    int Position() const { return position_; }
    // Brings the value into range; runs OnChange only when the position really changes.
    void SetPosition(int position);
    // A user's scroll: arrows and trough clicks step by 1, the thumb reports every position.
    void Scroll(int code, int thumbPosition) override;

private:
    int position_ = 0;
};

} // namespace vistrel
