#pragma once
// The application object: the program's title, its hidden owner window (which carries
// the single taskbar button, so the tool window needs none of its own), the message
// loop with its idle step, and the error box.

#include "ui/win32/window.h"

#include <functional>
#include <string>
#include <string_view>

namespace vistrel {

class TApplication : public Window {
public:
    void Initialize(HINSTANCE instance);
    void SetTitle(std::wstring_view title);
    const std::wstring& Title() const { return title_; }

    // The window whose closing ends the program; owned by Handle().
    void SetMainForm(HWND mainForm) { mainForm_ = mainForm; }
    HWND MainForm() const { return mainForm_; }

    // Runs the message loop until Terminate; the idle step runs each time the queue
    // has been emptied.
    void Run();
    // Dispatches every pending message and returns; a quit request seen here ends Run
    // as soon as control comes back to it.
    void ProcessMessages();
    // A modal loop for a dialog: runs until finished() says so or the program is told to
    // end (the quit request is then kept for Run).
    void RunModal(HWND dialog, const std::function<bool()>& finished);
    void Terminate();
    bool Terminated() const { return terminated_; }

    // Minimises the whole program to its taskbar button, animated from the main window. The
    // main window goes with its owner, so it is on top of nothing until it is restored; its
    // always-on-top state is kept (taken away, the system does not always give it back).
    void Minimize();
    bool Minimized() const { return ::IsIconic(hwnd_) != FALSE; }

    void ShowError(std::wstring_view message) noexcept;

    // Whether one of the program's modal loops runs: an error box, a dialog, a menu.
    bool InModalLoop() const { return modalLoops_ > 0; }
    // Marks a modal loop the program runs through the system (a menu, a message box).
    class ModalScope {
    public:
        explicit ModalScope(TApplication& app) : app_(app) { ++app_.modalLoops_; }
        ~ModalScope() { --app_.modalLoops_; }
        ModalScope(const ModalScope&) = delete;
        ModalScope& operator=(const ModalScope&) = delete;

    private:
        TApplication& app_;
    };

    std::function<void()> OnIdle;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    bool HandleOne(MSG& msg);
    void Idle();
    void Restore();

    HWND mainForm_ = nullptr;
    std::wstring title_;
    bool terminated_ = false;
    HWND modalDialog_ = nullptr;
    int modalLoops_ = 0;
};

extern TApplication Application;

} // namespace vistrel
