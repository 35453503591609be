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
    HWND XScale() const { return ByClass(L"Edit", 0); }
    HWND YScale() const { return ByClass(L"Edit", 1); }

    // Posts a click, as a user's click arrives, and returns at once.
    void Click(HWND button) const;
    // Clicks and returns when the program has handled the click to its end (an error box
    // it shows on the way must be closed by the test).
    bool ClickAndWait(HWND button) const;
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
