#pragma once
// Taking a photo, step by step, each step moved on by the program's one message loop: find
// the browser's view, hide the panel, let the screen settle where something lay over the view;
// the writer then copies it, and the panel comes back, and resizes, encodes and writes it on
// a thread of its own while the window answers; the new photo is named, listed and selected,
// and the shutter clicks. Clicks and hotkey presses that come meanwhile wait in the photo queue,
// and every end of a photo decides their fate in one place (End).

#include "app/photo_queue.h"
#include "capture/photo_options.h"
#include "capture/win32/photo_bitmap.h"
#include "capture/win32/photo_writer.h"
#include "capture/win32/viewport.h"

#include <windows.h>

#include <optional>
#include <set>
#include <string>

namespace vistrel {

class PhotoJob {
public:
    // What the job needs of the window it belongs to.
    class Host {
    public:
        // The panel, hidden for the copy.
        virtual HWND Panel() const = 0;
        // The options for this photo, the proportional sizes first brought up to date with
        // the view (nothing without one).
        virtual PhotoOptions OptionsForPhoto(std::optional<PhotoSize> view) = 0;
        // A free path without extension for the photo. Throws Error.
        virtual std::wstring NextPhotoName(const std::set<std::wstring>& takenWhileSaving) = 0;
        // The photo is written under this path: list and select it.
        virtual void PhotoSaved(const std::wstring& path) = 0;
        // A photo ended and nothing waits behind it.
        virtual void PhotoEnded() = 0;

    protected:
        ~Host() = default;
    };

    // The window's messages and timer that move the job on; the window hands them to
    // OnMessage and OnTimer.
    static constexpr UINT kNextMessage = WM_APP + 10;
    static constexpr UINT kWriterMessage = WM_APP + 11;
    static constexpr UINT_PTR kSettleTimer = 0x5E77;

    PhotoJob(Host& host, HWND window);
    PhotoJob(const PhotoJob&) = delete;
    PhotoJob& operator=(const PhotoJob&) = delete;

    // A click on the photo button or a press of the photo hotkey.
    void Ask(PhotoRequest request);
    // Whether a photo is under way, waits, or its error is being told.
    bool UnderWay() const { return queue_.UnderWay() || telling_; }
    // The window closes: the photo under way is finished; no other starts.
    void Close() { closing_ = true; }

    bool OnMessage(UINT msg);
    bool OnTimer(UINT_PTR id);

    // How the view is copied from the screen: BitBlt, unless a benchmark times the moment
    // the picture is taken.
    PhotoBitmap::CopyFunction screenCopy = ::BitBlt;

private:
    void Start(PhotoRequest request);
    void Settle();
    void Copy();
    void OnWriter();
    // The one place where a photo ends: what waits behind it starts or is dropped, and its
    // error, if any, is told.
    void End(PhotoEnd end, const std::wstring& error = {});
    void ShowPanelAgain();

    Host& host_;
    HWND window_;
    PhotoQueue queue_;
    PhotoWriter writer_;
    std::optional<PhotoRequest> next_; // started at the next kNextMessage
    bool telling_ = false;
    bool closing_ = false;

    // The photo under way.
    Viewport viewport_;
    std::optional<PhotoBitmap> photo_;
    PhotoOptions options_;
    bool fromHotkey_ = false;
    bool panelWasShown_ = false;
    bool panelHidden_ = false; // until the writer has copied the view
    int settleSteps_ = 0;
};

} // namespace vistrel
