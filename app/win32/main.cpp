// Program entry: title, main window, message loop; the settings are written as the main
// window goes.

#include "app/win32/main_window.h"
#include "base/win32/file_system.h"
#include "capture/win32/photo_file.h"
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

    MainWindow mainWindow(ProgramPath());
    if (!Guarded([&] { mainWindow.Create(Application.Handle()); }))
        return 1;
    Application.SetMainWindow(mainWindow.Handle());
    Application.OnIdle = [&] { mainWindow.UpdateHint(); };

    ::ShowWindow(mainWindow.Handle(), SW_SHOWNORMAL);
    ::UpdateWindow(mainWindow.Handle());

    Application.Run();

    mainWindow.Destroy();
    // Temporary files of failed photos that another program held until now.
    RemoveLeftoverPhotoFiles();
    return 0;
}
