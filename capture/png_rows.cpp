#include "capture/png_rows.h"

#include "base/error.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <thread>

#include <zlib.h>

namespace vistrel {

void FailPng(const char* reason) {
    throw Error(L"PNG image could not be made (" + WidenAscii(reason) + L")");
}

namespace {

// zlib's fastest level, each row filtered by Sub. On a textured 3-D view this takes about a
// tenth of the time of the usual choice (level 6, each row's best of five filters) for a
// file a fifth larger; at this level Sub is the quickest filter and makes the smallest files
// of such views. zlib's run-length strategy is no faster here and loses repeated patterns
// (window frames) badly.
constexpr int kCompressionLevel = 1;
constexpr uint8_t kSubFilter = 1;
// Horizontal strips are compressed at once, each with the 32 KB before it as its dictionary,
// so the file is as small as from one stream. A smaller strip is not worth a thread; a
// thread holds a strip's output at once, up to the larger size.
constexpr size_t kMinStripBytes = 256 * 1024;
constexpr size_t kMaxStripBytes = 4 * 1024 * 1024;
constexpr size_t kWindowBytes = 32 * 1024;
// Rows are filtered this much at a time and compressed while they are in the cache.
constexpr size_t kBatchBytes = 64 * 1024;

// zlib takes its memory from operator new as the rest of the encoder does, so that all of
// it is counted, and given back, in one place.
voidpf ZlibAlloc(voidpf, uInt items, uInt size) {
    return ::operator new (size_t{items} * size, std::nothrow);
}
void ZlibFree(voidpf, voidpf p) {
    ::operator delete(p);
}

// The picture is compressed in horizontal strips, each as one part of one raw deflate
// stream, flushed to a byte boundary or, for the last, finished. Threads take the strips
// in order; each compresses its strip into a buffer of its own and then waits until the
// strips above it are in the file before it adds its own. So no more than one strip a
// thread is held at once, besides the file.
class StripEncoder {
public:
    // The strips go on at the end of file, their CRC continues crc.
    StripEncoder(const PixelView& view, size_t stripCount, std::vector<uint8_t>& file, uLong crc)
        : view_(view), rowBytes_(1 + static_cast<size_t>(view.width) * 3),
          rawBytes_(rowBytes_ * static_cast<size_t>(view.height)), stripCount_(stripCount),
          file_(file), fileBound_(file.size() + rawBytes_ + rawBytes_ / 4096 + rawBytes_ / 16384 +
                                  32 * stripCount + 64),
          crc_(crc) {}

    // Compresses the strips on this thread and on at most threads - 1 others.
    void Run(size_t threads) {
        std::vector<std::thread> others;
        try {
            for (size_t i = 1; i < std::min(threads, stripCount_); ++i)
                others.emplace_back([this] { Work(); });
        } catch (...) {
            // No thread to spare: fewer threads take the strips.
        }
        Work();
        for (std::thread& t : others)
            t.join();
        if (error_)
            std::rethrow_exception(error_);
    }

    // The stream's checksum of the rows, and the CRC continued over the strips.
    uLong Adler() const { return adler_; }
    uLong Crc() const { return crc_; }

private:
    struct Strip {
        size_t index = 0;
        int firstRow = 0, endRow = 0;
    };

    // Bytes written once, so not zero-filled first.
    struct Buffer {
        std::unique_ptr<uint8_t[]> bytes;
        size_t capacity = 0;
        uint8_t* Room(size_t size) {
            if (capacity < size) {
                bytes.reset(); // before the larger one is made
                capacity = 0;
                bytes = std::make_unique_for_overwrite<uint8_t[]>(size);
                capacity = size;
            }
            return bytes.get();
        }
    };

    // What a thread keeps from one strip to the next.
    struct Worker {
        z_stream z{};
        bool made = false;
        Buffer rows; // filtered
        Buffer deflated;

        // The compressor, as new for the next strip.
        z_stream& Reset() {
            if (made) {
                if (deflateReset(&z) != Z_OK)
                    FailPng("compressor could not be set up");
                return z;
            }
            z.zalloc = ZlibAlloc;
            z.zfree = ZlibFree;
            const int init =
                deflateInit2(&z, kCompressionLevel, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
            if (init == Z_MEM_ERROR)
                throw std::bad_alloc();
            if (init != Z_OK)
                FailPng("compressor could not be set up");
            made = true;
            return z;
        }
        ~Worker() {
            if (made)
                deflateEnd(&z);
        }
    };

    Strip StripAt(size_t index) const {
        const auto count = static_cast<int64_t>(stripCount_);
        const auto i = static_cast<int64_t>(index);
        return {index, static_cast<int>(view_.height * i / count),
                static_cast<int>(view_.height * (i + 1) / count)};
    }

    void Work() {
        Worker worker;
        try {
            for (size_t index = 0; TakeStrip(index);) {
                const Strip strip = StripAt(index);
                uLong adler = 1;
                const size_t size = Compress(worker, strip, adler);
                std::unique_lock<std::mutex> lock(mutex_);
                inFile_.wait(lock, [&] { return error_ || stripsInFile_ == index; });
                if (error_)
                    return;
                // Only this thread touches the file until it hands on the turn.
                lock.unlock();
                Append(worker.deflated.bytes.get(), size, strip, adler);
                lock.lock();
                ++stripsInFile_;
                inFile_.notify_all();
            }
        } catch (...) {
            std::lock_guard<std::mutex> lock(mutex_);
            if (!error_)
                error_ = std::current_exception();
            inFile_.notify_all();
        }
    }

    bool TakeStrip(size_t& index) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (error_ || next_ == stripCount_)
            return false;
        index = next_++;
        return true;
    }

    // Filters rows [first, end) into the worker's row buffer; returns their bytes.
    size_t Filter(Worker& worker, int first, int end) {
        const size_t bytes = static_cast<size_t>(end - first) * rowBytes_;
        uint8_t* rows = worker.rows.Room(bytes);
        for (int y = first; y < end; ++y) {
            uint8_t* row = rows + static_cast<size_t>(y - first) * rowBytes_;
            row[0] = kSubFilter;
            uint8_t* rgb = row + 1;
            RowToRgb(view_, y, rgb);
            for (size_t i = rowBytes_ - 2; i >= 3; --i)
                rgb[i] = static_cast<uint8_t>(rgb[i] - rgb[i - 3]);
        }
        return bytes;
    }

    // Compresses a strip into the worker's buffer; returns the bytes made.
    size_t Compress(Worker& worker, const Strip& strip, uLong& adler) {
        z_stream& z = worker.Reset();
        const int windowRows = static_cast<int>((kWindowBytes + rowBytes_ - 1) / rowBytes_);
        const int batchRows = static_cast<int>(std::max(kBatchBytes / rowBytes_, size_t{1}));

        // The strip's dictionary is the end of the rows above, filtered again here.
        if (strip.firstRow > 0) {
            const int first = std::max(strip.firstRow - windowRows, 0);
            const size_t bytes = Filter(worker, first, strip.firstRow);
            const size_t dictionary = std::min(bytes, kWindowBytes);
            if (deflateSetDictionary(&z, worker.rows.bytes.get() + bytes - dictionary,
                                     static_cast<uInt>(dictionary)) != Z_OK)
                FailPng("compression failed");
        }
        const size_t length = static_cast<size_t>(strip.endRow - strip.firstRow) * rowBytes_;
        const size_t room = deflateBound(&z, static_cast<uLong>(length)) + 16;
        z.next_out = worker.deflated.Room(room);
        z.avail_out = static_cast<uInt>(room);
        const bool last = strip.index + 1 == stripCount_;
        for (int y = strip.firstRow; y < strip.endRow; y += batchRows) {
            const int end = std::min(y + batchRows, strip.endRow);
            const size_t bytes = Filter(worker, y, end);
            adler = adler32(adler, worker.rows.bytes.get(), static_cast<uInt>(bytes));
            const int flush = end < strip.endRow ? Z_NO_FLUSH : last ? Z_FINISH : Z_SYNC_FLUSH;
            z.next_in = worker.rows.bytes.get();
            z.avail_in = static_cast<uInt>(bytes);
            // All taken in and all given out: room is left over after the last byte.
            const int done = deflate(&z, flush);
            if (done != (flush == Z_FINISH ? Z_STREAM_END : Z_OK) || z.avail_in != 0 ||
                z.avail_out == 0)
                FailPng("compression failed");
        }
        return room - z.avail_out;
    }

    void Append(const uint8_t* data, size_t size, const Strip& strip, uLong adler) {
        const size_t stripRaw = static_cast<size_t>(strip.endRow - strip.firstRow) * rowBytes_;
        // The checksum and the last chunk always fit after the strips.
        constexpr size_t kEnd = 64;
        if (file_.capacity() - file_.size() < size + kEnd) {
            // Room for the rest at the rate so far, but never beyond what the whole could
            // take: growing by doubling would hold two copies of a large file at once.
            const double rate = static_cast<double>(deflatedBytes_ + size) /
                                static_cast<double>(rawDone_ + stripRaw);
            const double rest = static_cast<double>(rawBytes_ - rawDone_ - stripRaw) * rate;
            size_t wanted = file_.size() + size + static_cast<size_t>(rest * 1.125) + kEnd;
            wanted = std::max(wanted, file_.capacity() + file_.capacity() / 4);
            wanted = std::min(wanted, fileBound_);
            file_.reserve(std::max(wanted, file_.size() + size + kEnd));
        }
        file_.insert(file_.end(), data, data + size);
        crc_ = crc32(crc_, data, static_cast<uInt>(size));
        adler_ = adler32_combine(adler_, adler, static_cast<z_off_t>(stripRaw));
        deflatedBytes_ += size;
        rawDone_ += stripRaw;
    }

    const PixelView& view_;
    const size_t rowBytes_;
    const size_t rawBytes_;
    const size_t stripCount_;
    std::vector<uint8_t>& file_;
    const size_t fileBound_; // what the whole file can take, from deflate's bound

    // Touched only by the thread whose strip is next for the file.
    uLong crc_;
    uLong adler_ = 1;
    size_t deflatedBytes_ = 0, rawDone_ = 0;

    std::mutex mutex_;
    std::condition_variable inFile_;
    size_t next_ = 0;         // the next strip a thread takes
    size_t stripsInFile_ = 0; // the strips added to the file, in order
    std::exception_ptr error_;
};

} // namespace

CompressedRows AppendCompressedRows(const PixelView& view, size_t strips, size_t threads,
                                    std::vector<uint8_t>& file, uint32_t crc) {
    const uint64_t rawBytes =
        (1 + uint64_t{static_cast<uint32_t>(view.width)} * 3) * static_cast<uint32_t>(view.height);
    // None larger than a thread should hold, none too small to be worth a thread.
    const size_t count = std::min(
        {std::max(strips, static_cast<size_t>((rawBytes + kMaxStripBytes - 1) / kMaxStripBytes)),
         std::max<size_t>(rawBytes / kMinStripBytes, 1), static_cast<size_t>(view.height)});
    StripEncoder encoder(view, count, file, crc);
    encoder.Run(std::max<size_t>(threads, 1));
    return {static_cast<uint32_t>(encoder.Adler()), static_cast<uint32_t>(encoder.Crc())};
}

} // namespace vistrel
