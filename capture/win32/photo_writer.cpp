#include "capture/win32/photo_writer.h"

#include "base/error.h"
#include "base/win32/file_system.h"
#include "capture/bmp_file.h"
#include "capture/jpeg_file.h"
#include "capture/png_file.h"
#include "capture/win32/photo_file.h"
#include "capture/win32/photo_names.h"

#include <utility>
#include <vector>

namespace vistrel {

PhotoWriter::PhotoWriter(HWND window, UINT message) : window_(window), message_(message) {}

PhotoWriter::~PhotoWriter() {
    {
        std::lock_guard lock(mutex_);
        abandon_ = true;
    }
    answered_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void PhotoWriter::Start(Order order) {
    if (thread_.joinable())
        thread_.join(); // the one before has ended: it posted its end before returning
    {
        std::lock_guard lock(mutex_);
        state_ = State::Working;
        copied_ = false;
        name_.reset();
        refusal_.reset();
        taken_.clear();
        result_.clear();
    }
    thread_ = std::thread([this, order = std::move(order)]() mutable { Run(std::move(order)); });
}

PhotoWriter::State PhotoWriter::Current() const {
    std::lock_guard lock(mutex_);
    return state_;
}

bool PhotoWriter::TakeCopied() {
    std::lock_guard lock(mutex_);
    return std::exchange(copied_, false);
}

std::set<std::wstring> PhotoWriter::TakenNames() const {
    std::lock_guard lock(mutex_);
    return taken_;
}

void PhotoWriter::GiveName(std::wstring path) {
    {
        std::lock_guard lock(mutex_);
        if (state_ != State::NeedsName)
            return;
        name_ = std::move(path);
        state_ = State::Working;
    }
    answered_.notify_all();
}

void PhotoWriter::RefuseName(std::wstring error) {
    {
        std::lock_guard lock(mutex_);
        if (state_ != State::NeedsName)
            return;
        refusal_ = std::move(error);
        state_ = State::Working;
    }
    answered_.notify_all();
}

std::wstring PhotoWriter::Finish() {
    std::wstring result;
    {
        std::lock_guard lock(mutex_);
        if (state_ != State::Done && state_ != State::Failed)
            return {};
        state_ = State::Idle;
        result = std::move(result_);
    }
    // The thread has nothing left to do but to end: what it held is let go of now.
    if (thread_.joinable())
        thread_.join();
    return result;
}

void PhotoWriter::Enter(State state, std::wstring result) {
    {
        std::lock_guard lock(mutex_);
        state_ = state;
        result_ = std::move(result);
    }
    ::PostMessageW(window_, message_, 0, 0);
}

std::wstring PhotoWriter::AskName() {
    for (;;) {
        std::unique_lock lock(mutex_);
        if (abandon_)
            throw Abandoned{};
        state_ = State::NeedsName;
        name_.reset();
        refusal_.reset();
        lock.unlock();
        ::PostMessageW(window_, message_, 0, 0);
        lock.lock();
        answered_.wait(lock, [this] { return abandon_ || name_ || refusal_; });
        if (abandon_)
            throw Abandoned{};
        if (refusal_)
            throw Error(*refusal_);
        std::wstring name = *name_;
        lock.unlock();
        // Checked on the disk itself, here where a search of a large folder keeps no window
        // waiting: a file another program made a moment ago may not be in the window's list
        // yet, and the rename would not see a photo of another type with the number.
        if (!PhotoExistsOnDisk(name))
            return name;
        lock.lock();
        taken_.insert(FoldFileName(name));
    }
}

void PhotoWriter::Run(Order order) {
    std::optional<State> end;
    std::wstring result;
    try {
        result = Write(std::move(order));
        end = State::Done;
    } catch (const Abandoned&) {
    } catch (const Error& e) {
        result = e.Message();
        end = State::Failed;
    } catch (const std::bad_alloc&) {
        result = L"Out of memory";
        end = State::Failed;
    } catch (...) {
        result = L"Out of system resources";
        end = State::Failed;
    }
    // Told only once the photo's bitmap and file are let go of.
    if (end) {
        Enter(*end, std::move(result));
    } else {
        std::lock_guard lock(mutex_);
        state_ = State::Idle;
    }
}

std::wstring PhotoWriter::Write(Order order) {
    order.photo.CopyFromScreen(order.from.x, order.from.y, order.copy);
    {
        std::lock_guard lock(mutex_);
        copied_ = true;
    }
    ::PostMessageW(window_, message_, 0, 0);
    if (order.resize) {
        try {
            StretchBitmap(order.photo, order.resize->width, order.resize->height);
        } catch (const Error&) {
            // A size that cannot be made: the photo keeps the size it was taken at.
        }
    }
    PixelView pixels = order.photo.View();
    std::vector<uint8_t> encoded; // the BMP headers, or the whole JPEG or PNG file
    FileChunk pixelChunk{nullptr, 0};
    switch (order.type) {
    case PhotoType::Bmp:
        encoded = BmpFileHeaders(pixels);
        pixelChunk = {pixels.bits, pixels.Stride() * static_cast<size_t>(pixels.height)};
        break;
    case PhotoType::Jpeg:
        encoded = EncodeJpeg(pixels, order.quality);
        break;
    case PhotoType::Png:
        encoded = EncodePng(pixels);
        break;
    }
    return SaveNewPhotoFile([this] { return AskName(); },
                            [this](const std::wstring& name) {
                                std::lock_guard lock(mutex_);
                                taken_.insert(FoldFileName(name));
                            },
                            PhotoExtension(order.type),
                            {FileChunk{encoded.data(), encoded.size()}, pixelChunk});
}

} // namespace vistrel
