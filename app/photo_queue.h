#pragma once
// The order of photos: a click or hotkey press that comes while a photo is being taken
// waits behind it, and each photo, however it ends, decides here what becomes of those
// waiting. Only a photo that was taken lets the next one start: after any other end (no
// view, a failure, the window closing, a dialog or menu up) the ones behind it would only
// end the same way, so they are dropped, never kept for a later click.

#include <cstddef>
#include <deque>
#include <optional>

namespace vistrel {

enum class PhotoRequest { Button, Hotkey };
enum class PhotoEnd { Taken, NoView, Failed, Closing, Blocked };

class PhotoQueue {
public:
    // A click or a hotkey press: true when a photo is to start now, false when it waits.
    bool Ask(PhotoRequest request);
    // The photo under way ended; the request to start next, if any. That one is then under
    // way.
    std::optional<PhotoRequest> End(PhotoEnd end);

    bool UnderWay() const { return underWay_; }
    size_t Waiting() const { return waiting_.size(); }

private:
    bool underWay_ = false;
    std::deque<PhotoRequest> waiting_;
};

} // namespace vistrel
