#pragma once
// The application object: the program's title, its hidden owner window (which carries
// the single taskbar button, so the tool window needs none of its own), the program's one
// message loop with its idle step and the handles it waits on, and the error box.

#include "ui/win32/window.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vistrel {

class TApplication : public Window {
public:
    void Initialize(HINSTANCE instance);
    void SetTitle(std::wstring_view title);
    const std::wstring& Title() const { return title_; }

    // The window whose closing ends the program; owned by Handle().
    void SetMainWindow(HWND mainWindow) { mainWindow_ = mainWindow; }
    HWND MainWindow() const { return mainWindow_; }

    // Runs the message loop until Terminate; the idle step runs each time the queue
    // has been emptied.
    void Run();
    void Terminate();
    // While the loop waits, a signalled handle runs its callback (behind the exception
    // firewall), on this thread. The callback may stop or start waits.
    void WaitFor(HANDLE handle, std::function<void()> signalled);
    void StopWaitingFor(HANDLE handle);

    // Minimises the whole program to its taskbar button, animated from the main window. The
    // main window goes with its owner, so it is on top of nothing until it is restored; its
    // always-on-top state is kept (taken away, the system does not always give it back).
    void Minimize();
    bool Minimized() const { return ::IsIconic(hwnd_) != FALSE; }

    void ShowError(std::wstring_view message) noexcept;

    // Whether an error box, a dialog or a menu of the program is up.
    bool ModalUp() const { return modalLoops_ > 0 || !dialogs_.empty(); }
    // A dialog that keeps its owner disabled while it is open: it gets the dialog keys
    // (Tab, Enter, Escape) from the loop.
    void DialogOpened(HWND dialog);
    void DialogClosed(HWND dialog);
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
    void Wait();
    void Restore();

    struct Waiting {
        HANDLE handle;
        std::function<void()> signalled;
    };

    HWND mainWindow_ = nullptr;
    std::wstring title_;
    bool terminated_ = false;
    std::vector<HWND> dialogs_;
    std::vector<Waiting> waits_;
    int modalLoops_ = 0;
};

extern TApplication Application;

} // namespace vistrel
