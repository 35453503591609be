#pragma once
// Starting, finding and stopping programs from a test, with deadlines instead of sleeps.

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

namespace testing_support {

using namespace std::chrono_literals;

// Polls until the condition holds or the deadline passes; returns the last result.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 10s);

// The folder of the running test executable, which also holds vistrel.exe and
// aw-standin.exe.
std::filesystem::path BuildFolder();

// A fresh empty folder under the temporary folder; removed with its contents when the
// object goes.
class TempFolder {
public:
    explicit TempFolder(const std::wstring& hint = L"vistrel-test");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

class Program {
public:
    Program(const std::filesystem::path& exe, const std::wstring& arguments = L"");
    ~Program(); // kills the process if it still runs
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    DWORD Id() const { return pi_.dwProcessId; }
    HANDLE Process() const { return pi_.hProcess; }
    bool Running() const;
    // The process's exit code, or -1 when it has not ended within the timeout.
    long WaitExit(std::chrono::milliseconds timeout = 10s);
    // A top-level window of this process with the class (and title, when given).
    HWND FindTopWindow(const std::wstring& className, const std::wstring& title = L"",
                       std::chrono::milliseconds timeout = 15s) const;
    // The same once it is on the screen (made and shown are two steps of the other program).
    HWND FindShownWindow(const std::wstring& className,
                         std::chrono::milliseconds timeout = 15s) const;
    void Kill();

private:
    PROCESS_INFORMATION pi_{};
};

// Copies vistrel.exe into the folder (so its Photos folder and settings live there).
std::filesystem::path InstallProgram(const std::filesystem::path& folder,
                                     const std::wstring& exeName = L"vistrel.exe");

std::wstring WindowText(HWND hwnd);
// The centre of a window on the screen.
POINT Centre(HWND hwnd);
// The rectangle of a control relative to its parent's client area.
RECT InParent(HWND hwnd);
// A value of an INI file, or "(missing)".
std::wstring ReadIni(const std::wstring& path, const wchar_t* section, const wchar_t* key);
std::wstring ClassName(HWND hwnd);

} // namespace testing_support

namespace testing_support {

// Saves a part of the screen as a 24-bit BMP file (for a person to look at).
bool SaveScreenBmp(const RECT& area, const std::filesystem::path& file);
// The folder where tests leave pictures for people: build/windows/artifacts.
std::filesystem::path ArtifactFolder();

} // namespace testing_support
