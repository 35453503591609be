#include "app/main_form.h"

#include "app/application.h"

namespace vistrel {

TMainForm* MainForm = nullptr;

namespace {
constexpr int kDesignWidth = 218;
constexpr int kDesignHeight = 691;
} // namespace

void TMainForm::Create(HWND owner) {
    RegisterWindowClass(kClassName, CS_DBLCLKS, ::GetSysColorBrush(COLOR_BTNFACE));
    CreateHandle(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_CONTROLPARENT, kClassName, kCaption,
                 WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN, CW_USEDEFAULT,
                 CW_USEDEFAULT, kDesignWidth, kDesignHeight, owner, nullptr);
    Guarded([this] { FormCreate(); });
}

void TMainForm::Destroy() {
    Guarded([this] { FormDestroy(); });
    if (hwnd_)
        ::DestroyWindow(hwnd_);
}

void TMainForm::FormCreate() {
    LoadSettings();
}

void TMainForm::FormDestroy() {
    SaveSettings();
}

void TMainForm::LoadSettings() {
    FNameTemplate = L"image_%.5d";
}

void TMainForm::SaveSettings() {}

LRESULT TMainForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CLOSE:
        Application.Terminate();
        return 0;
    }
    return Default(msg, wParam, lParam);
}

} // namespace vistrel
