#pragma once
// Catches message boxes of this process from a helper thread: a message box runs its own
// modal loop in the thread that shows it, so the test cannot answer it from there.

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

struct SeenBox {
    std::wstring caption;
    std::wstring text;
    bool stopIcon = false; // known for boxes of this process only
};

class MessageBoxCatcher {
public:
    // Watches the given process (this one by default) and closes each box it sees.
    explicit MessageBoxCatcher(DWORD processId = GetCurrentProcessId());
    ~MessageBoxCatcher();
    MessageBoxCatcher(const MessageBoxCatcher&) = delete;
    MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;

    std::vector<SeenBox> Seen() const;
    // Waits until at least n boxes have been seen (or the timeout passes).
    bool WaitForCount(size_t n, DWORD timeoutMs = 10000) const;

private:
    void Watch();

    DWORD pid_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<SeenBox> seen_;
    std::thread thread_;
};

} // namespace testing_support
