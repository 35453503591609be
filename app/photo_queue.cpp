#include "app/photo_queue.h"

namespace vistrel {

bool PhotoQueue::Ask(PhotoRequest request) {
    if (underWay_) {
        waiting_.push_back(request);
        return false;
    }
    underWay_ = true;
    return true;
}

std::optional<PhotoRequest> PhotoQueue::End(PhotoEnd end) {
    underWay_ = false;
    if (end != PhotoEnd::Taken)
        waiting_.clear();
    if (waiting_.empty())
        return std::nullopt;
    PhotoRequest next = waiting_.front();
    waiting_.pop_front();
    underWay_ = true;
    return next;
}

} // namespace vistrel
