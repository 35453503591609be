#include "base/win32/folder_watch.h"

#include <optional>
#include <unordered_set>
#include <utility>

namespace vistrel {

FolderWatch::FolderWatch(const std::wstring& folder)
    : dir_(::CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED,
                         nullptr)),
      event_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)), buffer_(16 * 1024) {
    if (dir_ && event_)
        Arm();
}

FolderWatch::~FolderWatch() {
    Stop();
}

void FolderWatch::Arm() {
    ::ResetEvent(event_.get());
    overlapped_ = {};
    overlapped_.hEvent = event_.get();
    pending_ = ::ReadDirectoryChangesW(dir_.get(), buffer_.data(),
                                       static_cast<DWORD>(buffer_.size() * sizeof(DWORD)), FALSE,
                                       FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                           FILE_NOTIFY_CHANGE_ATTRIBUTES,
                                       nullptr, &overlapped_, nullptr) != FALSE;
    if (!pending_)
        Stop();
}

void FolderWatch::Stop() {
    if (pending_) {
        ::CancelIoEx(dir_.get(), &overlapped_);
        DWORD ignored = 0;
        ::GetOverlappedResult(dir_.get(), &overlapped_, &ignored, TRUE);
        pending_ = false;
    }
    // Let go of the folder at once: a removal of it can then finish.
    dir_.reset();
    if (event_)
        ::SetEvent(event_.get());
}

FolderWatch::Records FolderWatch::Take() {
    Records records;
    std::unordered_set<std::wstring> seen;
    std::optional<std::wstring> oldName; // of a rename whose new name comes next
    // Every read the system has done: those that came while the last one was being handed
    // over are done at once when the next read starts.
    while (Active() && !records.lost) {
        // The event first: asking the system for it also lets it hand over a read it has
        // done.
        if (::WaitForSingleObject(event_.get(), 0) != WAIT_OBJECT_0)
            return records;
        DWORD bytes = 0;
        if (!::GetOverlappedResult(dir_.get(), &overlapped_, &bytes, FALSE)) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_IO_INCOMPLETE)
                return records; // nothing yet
            // Too many to keep (ERROR_NOTIFY_ENUM_DIR), or the folder is gone.
            pending_ = false;
            records.lost = true;
            if (error == ERROR_NOTIFY_ENUM_DIR)
                Arm();
            else
                Stop();
            return records;
        }
        pending_ = false;
        if (bytes == 0)
            records.lost = true; // more than the buffer holds
        const auto* p = reinterpret_cast<const unsigned char*>(buffer_.data());
        for (DWORD offset = 0; bytes != 0;) {
            const auto* info = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(p + offset);
            std::wstring name(info->FileName, info->FileNameLength / sizeof(WCHAR));
            if (info->Action == FILE_ACTION_RENAMED_OLD_NAME)
                oldName = name;
            else if (info->Action == FILE_ACTION_RENAMED_NEW_NAME && oldName)
                records.renamed.emplace_back(*std::exchange(oldName, std::nullopt), name);
            if (seen.insert(name).second)
                records.names.push_back(std::move(name));
            if (!info->NextEntryOffset)
                break;
            offset += info->NextEntryOffset;
        }
        Arm();
    }
    if (!Active())
        records.lost = true;
    return records;
}

} // namespace vistrel
