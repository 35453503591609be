// The PNG reader: every kind of file a PNG writer may make is shown in the right colours,
// damaged files are refused, and decoding to a size picks the same pixels as the full
// picture. Test files are assembled here chunk by chunk with zlib, so that each kind and
// each fault can be made exactly.

#include "album/png_reader.h"
#include "base/error.h"
#include "tests/native/support/decoded.h"
#include "tests/native/support/error_of.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <array>
#include <functional>
#include <string>

using namespace vistrel;
using testing_support::ErrorOf;
using testing_support::PixelsNotPickedFrom;

namespace {

using Bytes = std::vector<uint8_t>;

struct Chunk {
    std::string type;
    Bytes data;
};

void PutBig32(Bytes& b, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        b.push_back(static_cast<uint8_t>(v >> shift));
}

Bytes Assemble(const std::vector<Chunk>& chunks) {
    Bytes file{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (const Chunk& c : chunks) {
        PutBig32(file, static_cast<uint32_t>(c.data.size()));
        size_t start = file.size();
        file.insert(file.end(), c.type.begin(), c.type.end());
        file.insert(file.end(), c.data.begin(), c.data.end());
        PutBig32(file, static_cast<uint32_t>(crc32(0, file.data() + start, file.size() - start)));
    }
    return file;
}

Bytes Deflate(const Bytes& raw) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    Bytes packed(size);
    compress2(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 6);
    packed.resize(size);
    return packed;
}

// A sample that differs between neighbours in both directions and between channels.
unsigned Mixed(int x, int y, int c, int depth) {
    uint32_t h = static_cast<uint32_t>(x * 7919 + y * 104729 + c * 31337);
    h = (h ^ (h >> 7)) * 2654435761u;
    return (h >> 11) & ((1u << depth) - 1);
}

// A picture of any PNG kind, its samples Mixed(), with PLTE and tRNS when given.
struct Picture {
    int colourType, depth;
    bool interlaced;
    uint32_t width, height;
    Bytes palette, trns;

    Picture(int type, int bits, bool adam7 = false, uint32_t w = 19, uint32_t h = 13,
            Bytes plte = {})
        : colourType(type), depth(bits), interlaced(adam7), width(w), height(h),
          palette(std::move(plte)) {}
    int Channels() const {
        return colourType == 2 ? 3 : colourType == 4 ? 2 : colourType == 6 ? 4 : 1;
    }
};

// Unfiltered scanlines, pass by pass when interlaced (Adam7).
Bytes Scanlines(const Picture& p) {
    struct Pass {
        int x0, y0, dx, dy;
    };
    const Pass whole[] = {{0, 0, 1, 1}};
    const Pass adam7[] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                          {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    Bytes raw;
    const int w = static_cast<int>(p.width), h = static_cast<int>(p.height);
    for (const Pass& pass : p.interlaced ? std::span<const Pass>(adam7) : std::span(whole)) {
        if (pass.x0 >= w)
            continue; // a pass without columns has no rows either
        for (int y = pass.y0; y < h; y += pass.dy) {
            raw.push_back(0);
            unsigned bits = 0, count = 0;
            for (int x = pass.x0; x < w; x += pass.dx)
                for (int c = 0; c < p.Channels(); ++c) {
                    unsigned v = Mixed(x, y, c, p.depth);
                    if (p.depth == 16) {
                        raw.push_back(static_cast<uint8_t>(v >> 8));
                        raw.push_back(static_cast<uint8_t>(v));
                        continue;
                    }
                    bits = (bits << p.depth) | v;
                    if ((count += static_cast<unsigned>(p.depth)) == 8)
                        raw.push_back(static_cast<uint8_t>(bits)), bits = 0, count = 0;
                }
            if (count > 0)
                raw.push_back(static_cast<uint8_t>(bits << (8 - count)));
        }
    }
    return raw;
}

Chunk Header(const Picture& p) {
    Bytes d;
    PutBig32(d, p.width);
    PutBig32(d, p.height);
    d.insert(d.end(), {static_cast<uint8_t>(p.depth), static_cast<uint8_t>(p.colourType), 0, 0,
                       static_cast<uint8_t>(p.interlaced)});
    return {"IHDR", d};
}

// IHDR, PLTE, tRNS, the image data in two IDAT chunks, IEND.
std::vector<Chunk> Chunks(const Picture& p) {
    std::vector<Chunk> chunks{Header(p)};
    if (!p.palette.empty())
        chunks.push_back({"PLTE", p.palette});
    if (!p.trns.empty())
        chunks.push_back({"tRNS", p.trns});
    Bytes data = Deflate(Scanlines(p));
    auto half = data.begin() + static_cast<long>(data.size() / 2);
    chunks.push_back({"IDAT", Bytes(data.begin(), half)});
    chunks.push_back({"IDAT", Bytes(half, data.end())});
    chunks.push_back({"IEND", {}});
    return chunks;
}

int Over(int colour, int alpha) {
    return (colour * alpha + 127) / 255;
}

// The colour a pixel is shown in: blue, green, red, laid on black by its alpha.
std::array<int, 3> Shown(const Picture& p, int x, int y) {
    auto eight = [&](int c) {
        unsigned v = Mixed(x, y, c, p.depth);
        return static_cast<int>(p.depth == 16 ? v >> 8 : v * 255 / ((1u << p.depth) - 1));
    };
    int r = eight(0), g = r, b = r, a = 255;
    if (p.colourType == 2 || p.colourType == 6)
        g = eight(1), b = eight(2);
    if (p.colourType == 4 || p.colourType == 6)
        a = eight(p.colourType == 4 ? 1 : 3);
    if (p.colourType == 3) {
        unsigned i = Mixed(x, y, 0, p.depth);
        r = p.palette[3 * i], g = p.palette[3 * i + 1], b = p.palette[3 * i + 2];
        a = i < p.trns.size() ? p.trns[i] : 255;
    }
    if ((p.colourType == 0 || p.colourType == 2) && !p.trns.empty()) {
        bool key = true; // tRNS holds the transparent grey or colour, 16 bits a sample
        for (int c = 0; c < p.Channels(); ++c)
            key = key && Mixed(x, y, c, p.depth) == (p.trns[2 * c] * 256u + p.trns[2 * c + 1]);
        a = key ? 0 : 255;
    }
    return {Over(b, a), Over(g, a), Over(r, a)};
}

const std::wstring kInvalid = L"PNG image is not valid (";

} // namespace

TEST(PngReader, ShowsEveryKindOfFileInItsColoursLaidOnBlack) {
    struct Kind {
        int colourType, depth;
        bool interlaced = false, transparent = false;
        uint32_t width = 19, height = 13;
    };
    const Kind kinds[] = {
        {0, 1},
        {0, 2, true},
        {0, 4},
        {0, 8, true},
        {0, 16},
        {0, 2, false, true},
        {0, 16, true, true},
        {2, 8},
        {2, 8, true},
        {2, 16},
        {2, 16, true, true},
        {2, 8, false, true},
        {3, 1, true},
        {3, 2, false, true},
        {3, 4, true},
        {3, 8, false, true},
        {4, 8},
        {4, 16, true},
        {6, 8, true},
        {6, 16},
        // Small interlaced pictures leave some of the seven passes without pixels.
        {2, 8, true, false, 1, 1},
        {2, 8, true, false, 3, 1},
        {6, 8, true, false, 1, 5},
        {3, 4, true, true, 9, 2},
    };
    for (const Kind& k : kinds) {
        Picture p(k.colourType, k.depth, k.interlaced, k.width, k.height);
        if (k.colourType == 3)
            for (int i = 0; i < (1 << k.depth); ++i)
                p.palette.insert(p.palette.end(),
                                 {static_cast<uint8_t>(i * 3 + 1), static_cast<uint8_t>(255 - i),
                                  static_cast<uint8_t>(i * 101)});
        if (k.transparent && k.colourType == 3)
            p.trns = {0, 128};  // the first entry clear, the second half covering
        else if (k.transparent) // the colour of the top-left pixel
            for (int c = 0; c < p.Channels(); ++c)
                PutBig32(p.trns, Mixed(0, 0, c, k.depth)),
                    p.trns.erase(p.trns.end() - 4, p.trns.end() - 2);
        const std::string what =
            "type " + std::to_string(k.colourType) + ", " + std::to_string(k.depth) + " bits, " +
            std::to_string(k.width) + "x" + std::to_string(k.height) +
            (k.interlaced ? ", interlaced" : "") + (k.transparent ? ", tRNS" : "");
        Bytes file = Assemble(Chunks(p));
        PngHeader header = ReadPngHeader(file);
        EXPECT_EQ(header.width, static_cast<int>(k.width)) << what;
        EXPECT_EQ(header.height, static_cast<int>(k.height)) << what;
        DecodedPicture d;
        ASSERT_EQ(ErrorOf([&] { d = DecodePng(file); }), L"(no error)") << what;
        ASSERT_EQ(d.width, static_cast<int>(k.width)) << what;
        ASSERT_EQ(d.height, static_cast<int>(k.height)) << what;
        ASSERT_EQ(d.bitsPerPixel, 24) << what;
        ASSERT_EQ(d.stride % 4, 0u) << what;
        ASSERT_EQ(d.bits.size(), d.stride * k.height) << what;
        int wrong = 0;
        for (int y = 0; y < d.height; ++y)
            for (int x = 0; x < d.width; ++x) {
                std::array<int, 3> want = Shown(p, x, y);
                for (int c = 0; c < 3; ++c)
                    // 16-bit samples may be rounded rather than cut to 8 bits.
                    if (std::abs(d.bits[y * d.stride + 3 * x + c] - want[c]) > (k.depth == 16) &&
                        wrong++ < 3)
                        ADD_FAILURE()
                            << what << ": pixel " << x << "," << y << " channel " << c << " is "
                            << int(d.bits[y * d.stride + 3 * x + c]) << ", not " << want[c];
            }
        EXPECT_EQ(wrong, 0) << what;
    }
}

TEST(PngReader, DecodingToASizePicksTheSamePixelsAsTheFullPicture) {
    for (const Picture& p : {Picture(2, 8, false, 301, 203), Picture(6, 8, true, 301, 203)}) {
        Bytes file = Assemble(Chunks(p));
        DecodedPicture full = DecodePng(file);
        for (auto [w, h] : {std::pair{198, 133}, std::pair{40, 200}, std::pair{600, 7},
                            std::pair{1, 1}, std::pair{301, 203}}) {
            DecodedPicture small = DecodePng(file, w, h);
            ASSERT_EQ(small.width, w);
            ASSERT_EQ(small.height, h);
            EXPECT_EQ(small.sourceWidth, 301);
            EXPECT_EQ(small.sourceHeight, 203);
            EXPECT_EQ(small.stride, (static_cast<size_t>(w) * 3 + 3) & ~size_t{3});
            EXPECT_EQ(PixelsNotPickedFrom(small, full), 0)
                << w << "x" << h << (p.interlaced ? " interlaced" : "");
        }
    }
}

TEST(PngReader, RefusesDamagedFilesReadingThemToTheirEnd) {
    Picture p(3, 2, false, 40, 30, {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255});
    const std::vector<Chunk> good = Chunks(p); // IHDR PLTE IDAT IDAT IEND
    const Chunk text{"tEXt", {'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 'h', 'i'}};
    auto with = [&](const std::function<void(std::vector<Chunk>&)>& change) {
        auto chunks = good;
        change(chunks);
        return Assemble(chunks);
    };
    auto header = [&](const std::function<void(Picture&)>& change) {
        Picture q = p;
        change(q);
        return with([&](auto& c) { c[0] = Header(q); });
    };
    auto changed = [](Bytes b, size_t fromEnd) { // one bit flipped, counted from the end
        b[b.size() - fromEnd] ^= 1;
        return b;
    };
    const Bytes whole = Assemble(good);
    const Bytes textAfter = with([&](auto& c) { c.insert(c.end() - 1, text); });
    ASSERT_NO_THROW(DecodePng(whole));
    ASSERT_NO_THROW(DecodePng(textAfter));

    Picture row(2, 8, true, 9, 1); // interlaced, its last pass the sixth
    auto oneIdat = Chunks(row);
    oneIdat[2].data.insert(oneIdat[2].data.end(), oneIdat[3].data.begin(), oneIdat[3].data.end());
    oneIdat.erase(oneIdat.begin() + 3);
    oneIdat[2].data.back() ^= 1;

    Bytes badFilter = Scanlines(Picture(0, 8, false, 40, 30));
    badFilter[41 * 7] = 5;

    const std::pair<const char*, Bytes> cases[] = {
        {"empty", {}},
        {"signature", changed(whole, whole.size() - 1)},
        {"cut in the header", Bytes(whole.begin(), whole.begin() + 20)},
        {"cut in the image data", Bytes(whole.begin(), whole.begin() + 80)},
        {"cut before the end chunk", Bytes(whole.begin(), whole.end() - 12)},
        {"cut in the end chunk's checksum", Bytes(whole.begin(), whole.end() - 1)},
        {"header checksum", changed(whole, whole.size() - 29)},
        {"image data checksum", changed(whole, 13)},
        {"end chunk checksum", changed(whole, 1)},
        {"checksum of a text chunk before the pixels",
         changed(with([&](auto& c) { c.insert(c.begin() + 2, text); }), whole.size() - 51)},
        {"checksum of a text chunk after the pixels", changed(textAfter, 13)},
        {"deflate data", with([](auto& c) { c[2].data[5] ^= 0x55, c[2].data[9] ^= 0x55; })},
        {"deflate checksum", with([](auto& c) { c[3].data.back() ^= 1; })},
        {"deflate checksum, interlaced", Assemble(oneIdat)},
        {"too little image data", with([&](auto& c) { c[3].data.resize(c[3].data.size() / 2); })},
        {"filter type 5",
         Assemble(
             {Header(Picture(0, 8, false, 40, 30)), {"IDAT", Deflate(badFilter)}, {"IEND", {}}})},
        {"image data missing", with([](auto& c) { c.erase(c.begin() + 2, c.begin() + 4); })},
        {"end chunk missing", with([](auto& c) { c.pop_back(); })},
        {"palette missing", with([](auto& c) { c.erase(c.begin() + 1); })},
        {"palette after the pixels", with([](auto& c) { std::swap(c[1], c[3]); })},
        {"header not first", with([](auto& c) { std::swap(c[0], c[1]); })},
        {"chunk between image data chunks", with([&](auto& c) { c.insert(c.begin() + 3, text); })},
        {"unknown critical chunk", with([](auto& c) {
             c.insert(c.begin() + 2, Chunk{"QUUX", {1}});
         })},
        {"chunk longer than the file", changed(whole, whole.size() - 57)},
        {"zero width", header([](Picture& q) { q.width = 0; })},
        {"bit depth 3", header([](Picture& q) { q.depth = 3; })},
        {"colour type 5", header([](Picture& q) { q.colourType = 5; })},
    };
    for (const auto& c : cases) {
        std::wstring error = ErrorOf([&] { DecodePng(c.second, 20, 15); });
        EXPECT_EQ(error.substr(0, kInvalid.size()), kInvalid) << c.first;
        EXPECT_EQ(error.back(), L')') << c.first;
    }
    // The library's own words.
    EXPECT_EQ(ErrorOf([&] { DecodePng(changed(whole, 1)); }),
              L"PNG image is not valid (invalid chunk checksum)");
}
