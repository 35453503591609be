#include "app/win32/photo_job.h"

#include "base/error.h"
#include "base/number_text.h"
#include "capture/win32/click_sound.h"
#include "ui/win32/application.h"

namespace vistrel {

namespace {

std::wstring EmptyPhotoText(const wchar_t* why, int width, int height) {
    return FormatMessageText(why, {WriteWholeNumber(width), WriteWholeNumber(height)});
}

// How long the screen is given to settle, in steps of 10 ms, after the browser was raised
// over what lay on its view: the desktop repaints where the panel was, and the browser
// where other windows were.
constexpr int kSettleSteps = 10;
constexpr UINT kSettleStepMs = 10;

} // namespace

PhotoJob::PhotoJob(Host& host, HWND window)
    : host_(host), window_(window), writer_(window, kWriterMessage) {}

void PhotoJob::Ask(PhotoRequest request) {
    // Not while an error box, a dialog or the menu of the program is up: the photo would
    // hide the panel under it, or take the box into the picture.
    if (closing_ || (Application.ModalUp() && !queue_.UnderWay()))
        return;
    if (queue_.Ask(request))
        Start(request);
}

bool PhotoJob::OnMessage(UINT msg) {
    switch (msg) {
    case kNextMessage:
        if (auto request = std::exchange(next_, std::nullopt))
            Start(*request);
        return true;
    case kWriterMessage:
        OnWriter();
        return true;
    }
    return false;
}

bool PhotoJob::OnTimer(UINT_PTR id) {
    if (id != kSettleTimer)
        return false;
    if (--settleSteps_ <= 0) {
        ::KillTimer(window_, kSettleTimer);
        Copy();
    }
    return true;
}

void PhotoJob::Start(PhotoRequest request) {
    // A click queued behind a photo taken as the window closes is not taken.
    if (closing_)
        return End(PhotoEnd::Closing);
    if (Application.ModalUp())
        return End(PhotoEnd::Blocked);
    fromHotkey_ = request == PhotoRequest::Hotkey;
    std::optional<Viewport> viewport = FindViewport();
    if (!viewport)
        return End(PhotoEnd::NoView);
    bool settle = false;
    if (::IsIconic(viewport->browser)) {
        // A minimised browser shows no view: it is restored first, stays so, and is given
        // the time to draw it.
        ::ShowWindow(viewport->browser, SW_RESTORE);
        viewport = FindViewport();
        if (!viewport)
            return End(PhotoEnd::NoView);
        settle = true;
    }
    viewport_ = *viewport;
    const int width = viewport_.Width(), height = viewport_.Height();
    if (width < 0 || height < 0)
        return End(PhotoEnd::Failed, L"Out of system resources");
    if (width == 0 || height == 0)
        return End(PhotoEnd::Failed,
                   EmptyPhotoText(L"The photo would be empty: the browser's view is %s by %s "
                                  L"pixels inside its 4-pixel border, so nothing was saved",
                                  width, height));
    try {
        options_ = host_.OptionsForPhoto(PhotoSize{width, height});
        if (auto size = RequestedSize(options_); size && (size->width == 0 || size->height == 0))
            return End(PhotoEnd::Failed,
                       EmptyPhotoText(L"The photo would be empty: it is to be resized to %s by "
                                      L"%s pixels, so nothing was saved",
                                      size->width, size->height));
        photo_.emplace(width, height);
    } catch (const Error& e) {
        return End(PhotoEnd::Failed, e.Message());
    } catch (...) {
        return End(PhotoEnd::Failed, L"Out of memory");
    }

    // Anything over the view (the panel included) must be given the time to go once the
    // browser is on top; with nothing over it, the view is copied at once.
    settle = settle || ViewCovered(viewport_);
    const HWND panel = host_.Panel();
    panelWasShown_ = ::IsWindowVisible(panel) != FALSE;
    ::ShowWindow(panel, SW_HIDE);
    RaiseBrowser(viewport_);
    settleSteps_ = kSettleSteps;
    if (!settle || !::SetTimer(window_, kSettleTimer, kSettleStepMs, nullptr))
        return Copy();
}

void PhotoJob::ShowPanelAgain() {
    // One that was not on the screen (minimised when the hotkey was pressed) stays away; after
    // a hotkey the keyboard stays with the program that had it.
    if (panelWasShown_)
        ::ShowWindow(host_.Panel(), fromHotkey_ ? SW_SHOWNA : SW_SHOW);
}

void PhotoJob::Copy() {
    // The copy of a large view takes a while: it is the writer's first step, so that the
    // window answers meanwhile.
    PhotoWriter::Order order{std::move(*photo_), {viewport_.capture.left, viewport_.capture.top},
                             screenCopy,         RequestedSize(options_),
                             options_.Type(),    options_.quality};
    photo_.reset();
    try {
        writer_.Start(std::move(order));
    } catch (...) {
        // No thread to take it: the panel comes back and the photo fails here.
        ShowPanelAgain();
        return End(PhotoEnd::Failed, L"Out of system resources");
    }
    panelHidden_ = true;
}

void PhotoJob::OnWriter() {
    // The view is copied (or the copy failed): the panel comes back before anything else.
    if ((writer_.TakeCopied() || writer_.Current() == PhotoWriter::State::Failed) &&
        std::exchange(panelHidden_, false))
        ShowPanelAgain();
    switch (writer_.Current()) {
    case PhotoWriter::State::NeedsName:
        // Whatever happens, the writer waiting for the name gets an answer.
        try {
            writer_.GiveName(host_.NextPhotoName(writer_.TakenNames()));
        } catch (const Error& e) {
            writer_.RefuseName(e.Message());
        } catch (...) {
            writer_.RefuseName(L"Out of memory");
        }
        break;
    case PhotoWriter::State::Done: {
        std::wstring path = writer_.Finish();
        // The photo is taken whatever happens now: a failure to list it is told, but the
        // clicks behind it go on.
        std::wstring error;
        try {
            host_.PhotoSaved(path);
        } catch (const Error& e) {
            error = e.Message();
        } catch (...) {
            error = L"Out of memory";
        }
        PlayClickSound();
        End(PhotoEnd::Taken, error);
        break;
    }
    case PhotoWriter::State::Failed:
        End(PhotoEnd::Failed, writer_.Finish());
        break;
    default:
        break;
    }
}

void PhotoJob::End(PhotoEnd end, const std::wstring& error) {
    std::optional<PhotoRequest> next = queue_.End(closing_ ? PhotoEnd::Closing : end);
    if (!error.empty()) {
        telling_ = true;
        Application.ShowError(error);
        telling_ = false;
    }
    if (next) {
        // Started from the loop, never from inside this end.
        next_ = next;
        ::PostMessageW(window_, kNextMessage, 0, 0);
        return;
    }
    host_.PhotoEnded();
}

} // namespace vistrel
