#include "tests/wine/support/message_box.h"

#include "tests/wine/support/program.h"

#include <set>

namespace testing_support {

namespace {

std::vector<uint32_t> IconPixels(HICON icon) {
    std::vector<uint32_t> pixels;
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info))
        return pixels;
    BITMAP bm{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = bm.bmWidth;
    bi.bmiHeader.biHeight = bm.bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    pixels.resize(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, info.hbmColor ? info.hbmColor : info.hbmMask, 0, bm.bmHeight, pixels.data(), &bi,
              DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return pixels;
}

// Icons of another process are compared by their pictures, not by their handles.
bool SameIcon(HICON a, HICON b) {
    auto pa = IconPixels(a), pb = IconPixels(b);
    return !pa.empty() && pa == pb;
}

} // namespace

MessageBoxCatcher::MessageBoxCatcher(DWORD processId)
    : pid_(processId), thread_([this] { Watch(); }) {}

MessageBoxCatcher::~MessageBoxCatcher() {
    stop_ = true;
    thread_.join();
}

std::vector<SeenBox> MessageBoxCatcher::Seen() const {
    std::lock_guard lock(mutex_);
    return seen_;
}

bool MessageBoxCatcher::WaitForCount(size_t n, DWORD timeoutMs) const {
    return WaitFor([&] { return Seen().size() >= n; }, std::chrono::milliseconds(timeoutMs));
}

void MessageBoxCatcher::Watch() {
    std::set<HWND> answered;
    while (!stop_) {
        struct Ctx {
            DWORD pid;
            std::vector<HWND> boxes;
        } ctx{pid_, {}};
        EnumWindows(
            [](HWND hwnd, LPARAM lp) -> BOOL {
                auto* c = reinterpret_cast<Ctx*>(lp);
                DWORD pid = 0;
                GetWindowThreadProcessId(hwnd, &pid);
                if (pid == c->pid && ClassName(hwnd) == L"#32770" && IsWindowVisible(hwnd))
                    c->boxes.push_back(hwnd);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&ctx));
        for (HWND box : ctx.boxes) {
            if (answered.count(box))
                continue;
            SeenBox seen;
            seen.caption = WindowText(box);
            // The text is the box's Static child that is not the icon.
            for (HWND child = GetWindow(box, GW_CHILD); child;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                if (ClassName(child) != L"Static")
                    continue;
                if (GetWindowLongW(child, GWL_STYLE) & SS_ICON)
                    seen.stopIcon =
                        SameIcon(reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0)),
                                 LoadIconW(nullptr, IDI_HAND));
                else
                    seen.text = WindowText(child);
            }
            {
                std::lock_guard lock(mutex_);
                seen_.push_back(seen);
            }
            answered.insert(box);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
        Sleep(10);
    }
}

} // namespace testing_support
