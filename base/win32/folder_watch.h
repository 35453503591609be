#pragma once
// The change records of one folder: the names added, removed, renamed or changed there, as
// the system keeps them (ReadDirectoryChangesW), read without waiting. An event tells when
// some have come, for the message loop to wait on.

#include "base/win32/handles.h"

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace vistrel {

class FolderWatch {
public:
    // A folder that cannot be watched gives a watch that is not Active.
    explicit FolderWatch(const std::wstring& folder);
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    bool Active() const { return dir_ && pending_; }
    // Signalled when records have come, or the watch has ended.
    HANDLE Event() const { return event_.get(); }

    struct Records {
        std::vector<std::wstring> names; // as the records name them, in order, once each
        // Names given another, in order: the old name and the new.
        std::vector<std::pair<std::wstring, std::wstring>> renamed;
        // The system could not keep them all, or the watch ended (the folder was removed or
        // replaced): the folder must be read again.
        bool lost = false;
    };
    // The records that have come since the last call; the watch goes on for the next ones.
    Records Take();

private:
    void Arm();
    void Stop();

    UniqueFile dir_;
    UniqueFile event_; // a manual-reset event
    OVERLAPPED overlapped_{};
    std::vector<DWORD> buffer_; // DWORD-aligned, as the records must be
    bool pending_ = false;
};

} // namespace vistrel
