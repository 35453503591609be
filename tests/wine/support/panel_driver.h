#pragma once
// Driving a running vistrel.exe from outside, as a user would: its controls are found by
// their text or kind and worked with messages that cross processes.

#include "tests/wine/support/program.h"

#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

class PanelDriver {
public:
    explicit PanelDriver(const Program& program);
    HWND Main() const { return main_; }
    bool Found() const { return main_ != nullptr; }

    HWND ByText(const std::wstring& text) const;
    // The n-th child window of this class, in creation order.
    HWND ByClass(const std::wstring& className, int n = 0) const;

    HWND PhotoButton() const { return ByText(L"Сфотографировать"); }
    HWND List() const { return ByClass(L"ListBox"); }
    HWND TypeBox() const { return ByClass(L"ComboBox"); }
    HWND ScaleBox() const { return ByText(L"Изменить разрешение фото:"); }
    HWND ProportionalBox() const { return ByText(L"Сохранять пропорции:"); }
    HWND WidthBox() const { return ByClass(L"Edit", 0); }
    HWND HeightBox() const { return ByClass(L"Edit", 1); }

    // A choice in the type list, as the user's choice reaches the program.
    void ChooseType(int index) const;
    // Resizing on, to these texts typed in the size boxes (proportional sizing off, which
    // would take the size from the view).
    void ResizeTo(const wchar_t* width, const wchar_t* height) const;

    // The percentage slider dragged to the position.
    void SetPercent(int percent) const;

    // Posts a click, as a user's click arrives, and returns at once.
    void Click(HWND button) const;
    // Clicks and returns when the photo it started, and any queued behind it, have ended
    // (an error box shown on the way must be closed by the test).
    bool ClickAndWait(HWND button) const;
    // Returns when no photo is under way or waits (false after the timeout).
    bool WaitForPhotos(std::chrono::milliseconds timeout = 60s) const;
    bool PhotoUnderWay() const;
    // Returns when the program has handled every message sent to it so far.
    void Idle() const;
    int ListCount() const;
    // The list keeps its window text on the selected name.
    std::wstring SelectedItem() const;
    void Close() const;

private:
    HWND main_ = nullptr;
};

// Files in a folder, by name.
std::vector<std::wstring> FilesIn(const std::filesystem::path& folder);

} // namespace testing_support
