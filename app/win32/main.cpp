// Program entry: title, main window, about dialog, message loop; the settings are written
// as the main window goes.

#include "about/win32/about_form.h"
#include "app/win32/main_form.h"
#include "capture/win32/photo_file.h"
#include "base/win32/file_system.h"
#include "ui/win32/application.h"

#include <commctrl.h>

using namespace vistrel;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // Only the system folder for DLLs loaded later, so a DLL dropped beside the exe or in
    // the current folder is never picked up.
    ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    ::SetDllDirectoryW(L"");

    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                             ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);

    if (!Guarded([&] {
            Application.Initialize(instance);
            Application.SetTitle(L"Vistrel");
        }))
        return 1;

    TMainForm mainForm(ProgramPath());
    MainForm = &mainForm;
    if (!Guarded([&] { mainForm.Create(Application.Handle()); }))
        return 1;
    Application.SetMainForm(mainForm.Handle());
    Application.OnIdle = [&] { mainForm.UpdateHint(); };

    TAboutForm aboutForm;
    AboutForm = &aboutForm;
    Guarded([&] { aboutForm.Create(mainForm.Handle()); });

    ::ShowWindow(mainForm.Handle(), SW_SHOWNORMAL);
    ::UpdateWindow(mainForm.Handle());

    Application.Run();

    mainForm.Destroy();
    // Temporary files of failed photos that another program held until now.
    RemoveLeftoverPhotoFiles();
    AboutForm = nullptr;
    MainForm = nullptr;
    return 0;
}
