#include "ui/layout.h"

#include <algorithm>
#include <climits>

namespace vistrel {

namespace {

int StripHeight(const LayoutItem& item, int width) {
    const LayoutItem::Ratio& r = item.heightPerWidth;
    if (r.denominator <= 0)
        return item.design.height;
    return static_cast<int>(static_cast<long long>(width) * r.numerator / r.denominator);
}

void Place(const LayoutItem& item, Box& remaining, Box& out) {
    int height = StripHeight(item, remaining.width);
    switch (item.dock) {
    case Dock::Top:
        out = {remaining.left, remaining.top, remaining.width, height};
        remaining.top += height;
        remaining.height -= height;
        return;
    case Dock::Bottom:
        out = {remaining.left, remaining.bottom() - height, remaining.width, height};
        remaining.height -= height;
        return;
    case Dock::Client:
        out = remaining;
        return;
    case Dock::None:
        return;
    }
}

int Along(int designStart, int designLength, int designParent, int parent, bool nearAnchor,
          bool farAnchor, int& length) {
    length = designLength;
    if (nearAnchor && farAnchor) {
        length = parent - (designParent - (designStart + designLength)) - designStart;
        return designStart;
    }
    if (farAnchor)
        return parent - (designParent - designStart);
    return designStart;
}

} // namespace

int ScaleForDpi(int value, int dpi) {
    const long long product = static_cast<long long>(value) * dpi;
    const long long scaled = product >= 0 ? (product + 48) / 96 : -((-product + 48) / 96);
    return static_cast<int>(std::clamp<long long>(scaled, INT_MIN, INT_MAX));
}

std::vector<LayoutItem> ScaleLayout(const std::vector<LayoutItem>& items, int dpi) {
    std::vector<LayoutItem> scaled = items;
    for (LayoutItem& item : scaled) {
        item.design = {ScaleForDpi(item.design.left, dpi), ScaleForDpi(item.design.top, dpi),
                       ScaleForDpi(item.design.width, dpi), ScaleForDpi(item.design.height, dpi)};
        item.designClientWidth = ScaleForDpi(item.designClientWidth, dpi);
        item.designClientHeight = ScaleForDpi(item.designClientHeight, dpi);
    }
    return scaled;
}

std::vector<Box> ArrangeLayout(const std::vector<LayoutItem>& items, int clientWidth,
                               int clientHeight, const ClientAreaOf& clientArea) {
    std::vector<Box> boxes(items.size());
    // Client areas and the part of each still free for docked children, per parent.
    std::vector<Box> clients(items.size() + 1), remaining(items.size() + 1);
    clients[0] = clientArea(-1, Box{0, 0, clientWidth, clientHeight});
    remaining[0] = clients[0];

    // Docked children take their strips in the order top, bottom, client.
    auto arrangeChildren = [&](int parent) {
        size_t slot = static_cast<size_t>(parent + 1);
        for (Dock pass : {Dock::Top, Dock::Bottom, Dock::Client, Dock::None}) {
            for (size_t i = 0; i < items.size(); ++i) {
                const LayoutItem& item = items[i];
                if (item.parent != parent || item.dock != pass)
                    continue;
                if (pass != Dock::None) {
                    Place(item, remaining[slot], boxes[i]);
                    continue;
                }
                // Anchored controls are placed against the parent's whole area, not the
                // part that docking leaves inside a bevel.
                int designW = parent < 0 ? clientWidth : items[parent].designClientWidth;
                int designH = parent < 0 ? clientHeight : items[parent].designClientHeight;
                int parentW = parent < 0 ? clientWidth : boxes[parent].width;
                int parentH = parent < 0 ? clientHeight : boxes[parent].height;
                Box& b = boxes[i];
                b.left = Along(item.design.left, item.design.width, designW, parentW,
                               item.anchors & kAnchorLeft, item.anchors & kAnchorRight, b.width);
                b.top = Along(item.design.top, item.design.height, designH, parentH,
                              item.anchors & kAnchorTop, item.anchors & kAnchorBottom, b.height);
            }
        }
    };

    arrangeChildren(-1);
    for (size_t i = 0; i < items.size(); ++i) {
        Box& b = boxes[i];
        b.width = std::max(b.width, 0);
        b.height = std::max(b.height, 0);
        Box outer{0, 0, b.width, b.height};
        clients[i + 1] = clientArea(static_cast<int>(i), outer);
        clients[i + 1].width = std::max(clients[i + 1].width, 0);
        clients[i + 1].height = std::max(clients[i + 1].height, 0);
        remaining[i + 1] = clients[i + 1];
        arrangeChildren(static_cast<int>(i));
    }
    return boxes;
}

} // namespace vistrel
