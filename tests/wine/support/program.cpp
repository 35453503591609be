#include "tests/wine/support/program.h"

#include <stdexcept>
#include <thread>

namespace testing_support {

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return condition();
        std::this_thread::sleep_for(10ms);
    }
}

std::filesystem::path BuildFolder() {
    wchar_t buffer[MAX_PATH * 4];
    DWORD n = GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
    return std::filesystem::path(std::wstring(buffer, n)).parent_path();
}

TempFolder::TempFolder(const std::wstring& hint) {
    static unsigned counter = 0;
    auto base = std::filesystem::temp_directory_path();
    for (;;) {
        path_ = base / (hint + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                        std::to_wstring(++counter));
        std::error_code ec;
        if (std::filesystem::create_directories(path_, ec))
            break;
    }
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

Program::Program(const std::filesystem::path& exe, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + exe.wstring() + L"\" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring folder = exe.parent_path().wstring();
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &si, &pi_))
        throw std::runtime_error("cannot start " + exe.string());
}

Program::~Program() {
    Kill();
    if (pi_.hProcess)
        CloseHandle(pi_.hProcess);
    if (pi_.hThread)
        CloseHandle(pi_.hThread);
}

bool Program::Running() const {
    return WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
}

long Program::WaitExit(std::chrono::milliseconds timeout) {
    if (WaitForSingleObject(pi_.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(pi_.hProcess, &code);
    return static_cast<long>(code);
}

void Program::Kill() {
    if (pi_.hProcess && Running()) {
        TerminateProcess(pi_.hProcess, 255);
        WaitForSingleObject(pi_.hProcess, 5000);
    }
}

namespace {
struct FindState {
    DWORD pid;
    const std::wstring* className;
    const std::wstring* title;
    HWND found;
};
} // namespace

HWND Program::FindTopWindow(const std::wstring& className, const std::wstring& title,
                            std::chrono::milliseconds timeout) const {
    FindState state{pi_.dwProcessId, &className, &title, nullptr};
    WaitFor(
        [&] {
            EnumWindows(
                [](HWND hwnd, LPARAM lp) -> BOOL {
                    auto* s = reinterpret_cast<FindState*>(lp);
                    DWORD pid = 0;
                    GetWindowThreadProcessId(hwnd, &pid);
                    if (pid != s->pid || ClassName(hwnd) != *s->className)
                        return TRUE;
                    if (!s->title->empty() && WindowText(hwnd) != *s->title)
                        return TRUE;
                    s->found = hwnd;
                    return FALSE;
                },
                reinterpret_cast<LPARAM>(&state));
            return state.found != nullptr || !Running();
        },
        timeout);
    return state.found;
}

HWND Program::FindShownWindow(const std::wstring& className,
                              std::chrono::milliseconds timeout) const {
    HWND found = FindTopWindow(className, L"", timeout);
    if (found && !WaitFor([&] { return IsWindowVisible(found) != FALSE; }, timeout))
        return nullptr;
    return found;
}

std::filesystem::path InstallProgram(const std::filesystem::path& folder,
                                     const std::wstring& exeName) {
    auto target = folder / exeName;
    std::filesystem::copy_file(BuildFolder() / L"vistrel.exe", target,
                               std::filesystem::copy_options::overwrite_existing);
    return target;
}

std::wstring WindowText(HWND hwnd) {
    wchar_t buffer[1024];
    LRESULT n = SendMessageW(hwnd, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer));
    return std::wstring(buffer, static_cast<size_t>(n));
}

std::wstring ReadIni(const std::wstring& path, const wchar_t* section, const wchar_t* key) {
    wchar_t buffer[4096]{};
    GetPrivateProfileStringW(section, key, L"(missing)", buffer, 4096, path.c_str());
    return buffer;
}

POINT Centre(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

RECT InParent(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::wstring ClassName(HWND hwnd) {
    wchar_t buffer[256];
    int n = GetClassNameW(hwnd, buffer, static_cast<int>(std::size(buffer)));
    return std::wstring(buffer, static_cast<size_t>(n));
}

} // namespace testing_support

namespace testing_support {

bool SaveScreenBmp(const RECT& area, const std::filesystem::path& file) {
    int w = area.right - area.left, h = area.bottom - area.top;
    if (w <= 0 || h <= 0)
        return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    DWORD stride = (static_cast<DWORD>(w) * 3 + 3) & ~3u;
    DWORD size = stride * static_cast<DWORD>(h);
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
    fh.bfSize = fh.bfOffBits + size;
    std::filesystem::create_directories(file.parent_path());
    FILE* out = _wfopen(file.c_str(), L"wb");
    bool ok = out != nullptr;
    if (out) {
        fwrite(&fh, sizeof fh, 1, out);
        fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, out);
        fwrite(bits, 1, size, out);
        fclose(out);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

std::filesystem::path ArtifactFolder() {
    return BuildFolder() / L"artifacts";
}

} // namespace testing_support
