#include "app/window_placement.h"

#include <algorithm>

namespace vistrel {

StoredGeometry SaneGeometry(StoredGeometry stored) {
    auto position = [](int v) {
        return std::clamp(v, -kMaxStoredCoordinate, kMaxStoredCoordinate);
    };
    auto size = [](int v) { return std::clamp(v, 0, kMaxStoredCoordinate); };
    return {position(stored.top), position(stored.left), size(stored.width), size(stored.height)};
}

} // namespace vistrel
