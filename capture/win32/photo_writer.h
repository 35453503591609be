#pragma once
// Takes a photo from the screen and writes it on a thread of its own, so that the window goes
// on answering while a large view is copied, compressed, written, flushed and named (the
// rename is tried again for a while when another program holds the new file). The name
// comes from the window's thread, which knows the photo list: the writer asks for it with a
// message and waits.

#include "capture/photo_options.h"
#include "capture/win32/photo_bitmap.h"

#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>

namespace vistrel {

class PhotoWriter {
public:
    struct Order {
        PhotoBitmap photo;
        // The screen's point the photo is copied from first, and how.
        POINT from{};
        PhotoBitmap::CopyFunction copy = ::BitBlt;
        // Resampled to this size first, when given; a size that cannot be made leaves the
        // photo at the size it was taken at.
        std::optional<PhotoSize> resize;
        PhotoType type = PhotoType::Jpeg;
        int quality = 80;
    };

    enum class State { Idle, Working, NeedsName, Done, Failed };

    // Posts `message` to the window once the screen is copied, and whenever the state
    // changes to NeedsName, Done or Failed.
    PhotoWriter(HWND window, UINT message);
    // Abandons a photo under way: its temporary file is removed, and it gets no name.
    ~PhotoWriter();
    PhotoWriter(const PhotoWriter&) = delete;
    PhotoWriter& operator=(const PhotoWriter&) = delete;

    void Start(Order order);
    State Current() const;
    // Whether the screen was copied since the last call: what lay over it may come back.
    bool TakeCopied();

    // In NeedsName: a free path without extension, or the error that leaves none (the photo
    // then fails with it). Names found taken while this photo was written are given.
    std::set<std::wstring> TakenNames() const;
    void GiveName(std::wstring path);
    void RefuseName(std::wstring error);

    // In Done: the photo's path; in Failed: the error. Either returns the writer to Idle.
    std::wstring Finish();

private:
    struct Abandoned {};
    void Run(Order order);
    // Resizes, encodes and writes; returns the photo's path.
    std::wstring Write(Order order);
    std::wstring AskName(); // on the writer's thread
    void Enter(State state, std::wstring result = {});

    HWND window_;
    UINT message_;
    mutable std::mutex mutex_;
    std::condition_variable answered_;
    State state_ = State::Idle;
    bool abandon_ = false;
    bool copied_ = false;
    std::optional<std::wstring> name_, refusal_;
    std::set<std::wstring> taken_; // folded, without extension
    std::wstring result_;
    std::thread thread_;
};

} // namespace vistrel
