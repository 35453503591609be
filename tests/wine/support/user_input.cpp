#include "tests/wine/support/user_input.h"

#include "tests/wine/support/program.h"

#include <algorithm>

namespace testing_support {

namespace {

INPUT Key(WORD key, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

} // namespace

void PressKey(WORD key, bool shift, bool ctrl, bool alt) {
    std::vector<INPUT> inputs;
    for (auto [held, vk] :
         {std::pair{shift, WORD{VK_SHIFT}}, {ctrl, WORD{VK_CONTROL}}, {alt, WORD{VK_MENU}}})
        if (held)
            inputs.push_back(Key(vk, false));
    inputs.push_back(Key(key, false));
    inputs.push_back(Key(key, true));
    for (auto [held, vk] :
         {std::pair{alt, WORD{VK_MENU}}, {ctrl, WORD{VK_CONTROL}}, {shift, WORD{VK_SHIFT}}})
        if (held)
            inputs.push_back(Key(vk, true));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void ClickAt(POINT at, bool right) {
    INPUT in[3]{};
    in[0].type = INPUT_MOUSE;
    in[0].mi.dx = MulDiv(at.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    in[0].mi.dy = MulDiv(at.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in[1].type = in[2].type = INPUT_MOUSE;
    in[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    in[2].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    SendInput(3, in, sizeof(INPUT));
}

XdotoolRun::XdotoolRun(const std::wstring& arguments) {
    static LONG runs = 0;
    const std::wstring unixPath = L"/tmp/vistrel-xdotool-" +
                                  std::to_wstring(GetCurrentProcessId()) + L"-" +
                                  std::to_wstring(InterlockedIncrement(&runs));
    done_ = L"Z:" + unixPath;
    std::replace(done_.begin(), done_.end(), L'/', L'\\');
    DeleteFileW(done_.c_str());
    std::wstring command = L"start.exe /unix /usr/bin/xdotool " + arguments +
                           L" exec --sync /usr/bin/touch " + unixPath;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                              nullptr, nullptr, &si, &pi) != FALSE;
    if (started_) {
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
}

XdotoolRun::~XdotoolRun() {
    DeleteFileW(done_.c_str());
}

bool XdotoolRun::Finished() const {
    return GetFileAttributesW(done_.c_str()) != INVALID_FILE_ATTRIBUTES;
}

HWND WaitForPopupMenu() {
    HWND menu = nullptr;
    WaitFor([&] {
        menu = FindWindowW(L"#32768", nullptr);
        return menu && IsWindowVisible(menu);
    });
    return menu && IsWindowVisible(menu) ? menu : nullptr;
}

std::vector<std::wstring> PopupMenuEntries(HWND menuWindow) {
    std::vector<std::wstring> entries;
    auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, 0x01E1 /*MN_GETHMENU*/, 0, 0));
    for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
        wchar_t text[64]{};
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE | MIIM_STRING;
        mii.dwTypeData = text;
        mii.cch = 64;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii);
        entries.push_back(mii.fType & MFT_SEPARATOR ? L"-" : text);
    }
    return entries;
}

} // namespace testing_support
