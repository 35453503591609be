// The main window's frame: its outer geometry, the roll-up to the title bar, the minimum
// width, snapping to the work area's edges, staying on a monitor, and minimising.

#include "app/win32/main_window.h"

#include "ui/snapping.h"
#include "ui/win32/application.h"

#include <algorithm>
#include <climits>

namespace vistrel {

RECT MainWindow::Bounds() const {
    RECT r{};
    ::GetWindowRect(hwnd_, &r);
    return r;
}

void MainWindow::SetBounds(int left, int top, int width, int height) {
    ::SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

int MainWindow::ClientHeight() const {
    RECT r;
    ::GetClientRect(hwnd_, &r);
    return r.bottom;
}

int MainWindow::NonClientHeight() const {
    RECT outer = Bounds(), client;
    ::GetClientRect(hwnd_, &client);
    return (outer.bottom - outer.top) - client.bottom;
}

void MainWindow::SetClientHeight(int height) {
    RECT r = Bounds();
    SetBounds(r.left, r.top, r.right - r.left, NonClientHeight() + height);
}

void MainWindow::OnRollUp() {
    if (unrolledHeight_ == 0) {
        unrolledHeight_ = ClientHeight();
        SetClientHeight(0);
        maxHeight_ = 1;
        SetClientHeight(0); // now held at the title bar by the limit
    } else {
        maxHeight_ = 0;
        SetClientHeight(unrolledHeight_);
        unrolledHeight_ = 0;
    }
}

void MainWindow::PlaceAt(const StoredGeometry& g) {
    RECT r = Bounds();
    SetBounds(r.left, g.top, r.right - r.left, r.bottom - r.top);
    r = Bounds();
    SetBounds(g.left, r.top, r.right - r.left, r.bottom - r.top);
    r = Bounds();
    SetBounds(r.left, r.top, g.width, r.bottom - r.top);
    r = Bounds();
    SetBounds(r.left, r.top, r.right - r.left, g.height);
    KeepOnScreen();
}

void MainWindow::OnGetMinMaxInfo(MINMAXINFO& info) {
    info.ptMinTrackSize.x = std::max<LONG>(info.ptMinTrackSize.x, Scaled(kMinWidth));
    if (maxHeight_ > 0) {
        // Rolled up: the title bar and frame only, however the window is dragged.
        int h = NonClientHeight();
        info.ptMinTrackSize.y = h;
        info.ptMaxTrackSize.y = h;
    }
}

void MainWindow::OnWindowPosChanging(WINDOWPOS& pos) {
    RECT current = Bounds();
    if (!(pos.flags & SWP_NOSIZE)) {
        pos.cx = std::max(pos.cx, Scaled(kMinWidth));
        if (maxHeight_ > 0)
            pos.cy = NonClientHeight();
    }
    if (pos.flags & SWP_NOMOVE)
        return;
    int width = pos.flags & SWP_NOSIZE ? current.right - current.left : pos.cx;
    int height = pos.flags & SWP_NOSIZE ? current.bottom - current.top : pos.cy;
    // Whatever a caller proposes, the edges are computed without overflowing.
    auto edge = [](long long v) {
        return static_cast<LONG>(std::clamp<long long>(v, INT_MIN, INT_MAX));
    };
    RECT proposed{pos.x, pos.y, edge(static_cast<long long>(pos.x) + width),
                  edge(static_cast<long long>(pos.y) + height)};
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (!::GetMonitorInfoW(::MonitorFromRect(&proposed, MONITOR_DEFAULTTONEAREST), &mi))
        return;
    Box work{mi.rcWork.left, mi.rcWork.top, mi.rcWork.right - mi.rcWork.left,
             mi.rcWork.bottom - mi.rcWork.top};
    Point p = SnapToWorkArea({pos.x, pos.y}, width, height, work, Scaled(kSnapDistance));
    pos.x = p.x;
    pos.y = p.y;
}

void MainWindow::KeepOnScreen() {
    RECT r = Bounds();
    HMONITOR nearest = ::MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    ::GetMonitorInfoW(nearest, &mi);
    // Never larger than the monitor: a taller window would hide its lower controls.
    LONG width = std::min(r.right - r.left, mi.rcMonitor.right - mi.rcMonitor.left);
    LONG height = std::min(r.bottom - r.top, mi.rcMonitor.bottom - mi.rcMonitor.top);
    LONG left = r.left, top = r.top;
    if (!::MonitorFromRect(&r, MONITOR_DEFAULTTONULL)) {
        // Wholly off every monitor (one removed since): into the primary's work area.
        POINT origin{0, 0};
        mi.cbSize = sizeof mi;
        ::GetMonitorInfoW(::MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY), &mi);
        left = mi.rcWork.left;
        top = mi.rcWork.top;
    }
    if (width != r.right - r.left || height != r.bottom - r.top || left != r.left || top != r.top)
        SetBounds(left, top, width, height);
}

void MainWindow::OnMinimiseClick() {
    Application.Minimize();
}

} // namespace vistrel
