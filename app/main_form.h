#pragma once
// The main window: a narrow, always-on-top tool window holding every control.

#include "app/window.h"

#include <string>

namespace vistrel {

class TMainForm : public Window {
public:
    static constexpr wchar_t kClassName[] = L"TMainForm";
    static constexpr wchar_t kCaption[] = L"Vistrel v0.12";

    void Create(HWND owner);
    void Destroy();

    // The roll-up memory: 0 while the window is not rolled up, else the client height
    // it had before.
    int Tag = 0;

private:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    void FormCreate();
    void FormDestroy();
    void LoadSettings();
    void SaveSettings();

    std::wstring FNameTemplate;
};

extern TMainForm* MainForm;

} // namespace vistrel
