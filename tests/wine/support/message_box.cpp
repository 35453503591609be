#include "tests/wine/support/message_box.h"

#include "tests/wine/support/program.h"

#include <set>

namespace testing_support {

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
                    seen.stopIcon = SendMessageW(child, STM_GETICON, 0, 0) ==
                                    reinterpret_cast<LRESULT>(LoadIconW(nullptr, IDI_HAND));
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
