// The PNG reader: every kind of file a PNG writer may make is shown in the right colours,
// damaged files are refused, and decoding to a size picks the same pixels as the full
// picture. Test files are assembled here chunk by chunk with zlib, so that each kind and
// each fault can be made exactly.

#include "album/png_reader.h"
#include "base/error.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <array>
#include <functional>
#include <string>

using namespace vistrel;

namespace {

using Bytes = std::vector<uint8_t>;

std::wstring ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const Error& e) {
        return e.Message();
    }
    return L"(no error)";
}

const std::wstring kInvalid = L"PNG image is not valid (";

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

// A picture of any PNG kind: samples as stored (0..2^depth-1), channel by channel.
struct Picture {
    uint32_t width = 0, height = 0;
    int depth = 8, colourType = 2;
    bool interlaced = false;
    std::function<unsigned(int x, int y, int channel)> sample;
    Bytes palette, trns; // PLTE and tRNS contents, when wanted

    int Channels() const {
        switch (colourType) {
        case 0:
        case 3:
            return 1;
        case 4:
            return 2;
        case 6:
            return 4;
        default:
            return 3;
        }
    }
};

// Unfiltered scanlines, pass by pass when interlaced (Adam7), zlib-compressed.
Bytes ImageData(const Picture& p) {
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
            continue; // an empty pass has no rows at all
        for (int y = pass.y0; y < h; y += pass.dy) {
            raw.push_back(0);
            unsigned bits = 0, count = 0;
            for (int x = pass.x0; x < w; x += pass.dx)
                for (int c = 0; c < p.Channels(); ++c) {
                    unsigned v = p.sample(x, y, c);
                    if (p.depth == 16) {
                        raw.push_back(static_cast<uint8_t>(v >> 8));
                        raw.push_back(static_cast<uint8_t>(v));
                        continue;
                    }
                    bits = (bits << p.depth) | v;
                    count += static_cast<unsigned>(p.depth);
                    if (count == 8)
                        raw.push_back(static_cast<uint8_t>(bits)), bits = 0, count = 0;
                }
            if (count > 0)
                raw.push_back(static_cast<uint8_t>(bits << (8 - count)));
        }
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    Bytes packed(size);
    compress2(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 6);
    packed.resize(size);
    return packed;
}

Chunk Header(const Picture& p) {
    Bytes d;
    PutBig32(d, p.width);
    PutBig32(d, p.height);
    d.insert(d.end(), {static_cast<uint8_t>(p.depth), static_cast<uint8_t>(p.colourType), 0, 0,
                       static_cast<uint8_t>(p.interlaced ? 1 : 0)});
    return {"IHDR", d};
}

// IHDR, PLTE, tRNS, the image data (in two IDAT chunks when it allows), IEND.
std::vector<Chunk> Chunks(const Picture& p) {
    std::vector<Chunk> chunks{Header(p)};
    if (!p.palette.empty())
        chunks.push_back({"PLTE", p.palette});
    if (!p.trns.empty())
        chunks.push_back({"tRNS", p.trns});
    Bytes data = ImageData(p);
    size_t half = data.size() / 2;
    chunks.push_back({"IDAT", Bytes(data.begin(), data.begin() + static_cast<long>(half))});
    chunks.push_back({"IDAT", Bytes(data.begin() + static_cast<long>(half), data.end())});
    chunks.push_back({"IEND", {}});
    return chunks;
}

Bytes File(const Picture& p) {
    return Assemble(Chunks(p));
}

// A sample that differs between neighbours in both directions and between channels.
unsigned Mixed(int x, int y, int c, int depth) {
    uint32_t h = static_cast<uint32_t>(x * 7919 + y * 104729 + c * 31337);
    h = (h ^ (h >> 7)) * 2654435761u;
    return (h >> 11) & ((1u << depth) - 1);
}

using Bgr = std::array<int, 3>;

// Compares every pixel of a full-size decode with the colour expected of it.
void ExpectColours(const Picture& p, const std::function<Bgr(int, int)>& expected, int tolerance,
                   const std::string& what) {
    DecodedPicture d;
    std::wstring error = ErrorOf([&] { d = DecodePng(File(p)); });
    ASSERT_EQ(error, L"(no error)") << what;
    ASSERT_EQ(d.width, static_cast<int>(p.width)) << what;
    ASSERT_EQ(d.height, static_cast<int>(p.height)) << what;
    ASSERT_EQ(d.bitsPerPixel, 24) << what;
    ASSERT_EQ(d.stride % 4, 0u) << what;
    ASSERT_EQ(d.bits.size(), d.stride * p.height) << what;
    int wrong = 0;
    for (int y = 0; y < d.height; ++y)
        for (int x = 0; x < d.width; ++x) {
            const uint8_t* got = d.bits.data() + y * d.stride + 3 * x;
            Bgr want = expected(x, y);
            for (int c = 0; c < 3; ++c)
                if (std::abs(got[c] - want[c]) > tolerance && wrong++ < 3)
                    ADD_FAILURE() << what << ": pixel " << x << "," << y << " channel " << c
                                  << " is " << int(got[c]) << ", not " << want[c];
        }
    EXPECT_EQ(wrong, 0) << what;
}

int Over(int colour, int alpha) {
    return (colour * alpha + 127) / 255;
}

} // namespace

TEST(PngReader, ReadsTheHeader) {
    Picture p{.width = 300, .height = 20, .sample = [](int, int, int) { return 0u; }};
    PngHeader h = ReadPngHeader(File(p));
    EXPECT_EQ(h.width, 300);
    EXPECT_EQ(h.height, 20);
}

TEST(PngReader, ShowsGreyOfEveryDepthScaledToEightBits) {
    for (int depth : {1, 2, 4, 8, 16})
        for (bool interlaced : {false, true}) {
            Picture p{.width = 19,
                      .height = 13,
                      .depth = depth,
                      .colourType = 0,
                      .interlaced = interlaced,
                      .sample = [depth](int x, int y, int) { return Mixed(x, y, 0, depth); }};
            auto grey = [depth](int x, int y) {
                unsigned v = Mixed(x, y, 0, depth);
                int g = depth == 16 ? static_cast<int>(v >> 8)
                                    : static_cast<int>(v * 255 / ((1u << depth) - 1));
                return Bgr{g, g, g};
            };
            ExpectColours(p, grey, depth == 16 ? 1 : 0,
                          "grey " + std::to_string(depth) + (interlaced ? " interlaced" : ""));
        }
}

TEST(PngReader, ShowsColourAndPaletteFiles) {
    for (int depth : {8, 16})
        for (bool interlaced : {false, true}) {
            Picture p{.width = 17,
                      .height = 9,
                      .depth = depth,
                      .colourType = 2,
                      .interlaced = interlaced,
                      .sample = [depth](int x, int y, int c) { return Mixed(x, y, c, depth); }};
            int shift = depth - 8;
            auto rgb = [shift, depth](int x, int y) {
                return Bgr{static_cast<int>(Mixed(x, y, 2, depth) >> shift),
                           static_cast<int>(Mixed(x, y, 1, depth) >> shift),
                           static_cast<int>(Mixed(x, y, 0, depth) >> shift)};
            };
            ExpectColours(p, rgb, depth == 16 ? 1 : 0,
                          "RGB " + std::to_string(depth) + (interlaced ? " interlaced" : ""));
        }
    for (int depth : {1, 2, 4, 8})
        for (bool interlaced : {false, true}) {
            int colours = 1 << depth;
            Picture p{.width = 23,
                      .height = 5,
                      .depth = depth,
                      .colourType = 3,
                      .interlaced = interlaced,
                      .sample = [depth](int x, int y, int) { return Mixed(x, y, 0, depth); }};
            for (int i = 0; i < colours; ++i)
                p.palette.insert(p.palette.end(),
                                 {static_cast<uint8_t>(i * 3 + 1), static_cast<uint8_t>(255 - i),
                                  static_cast<uint8_t>(i * 101)});
            auto entry = [&p, depth](int x, int y) {
                const uint8_t* e = p.palette.data() + 3 * Mixed(x, y, 0, depth);
                return Bgr{e[2], e[1], e[0]};
            };
            ExpectColours(p, entry, 0,
                          "palette " + std::to_string(depth) + (interlaced ? " interlaced" : ""));
        }
}

TEST(PngReader, LaysTransparentPixelsOnBlack) {
    // Grey and colour with an alpha channel, 8 and 16 bits.
    for (int colourType : {4, 6})
        for (int depth : {8, 16}) {
            Picture p{.width = 14,
                      .height = 10,
                      .depth = depth,
                      .colourType = colourType,
                      .interlaced = depth == 16,
                      .sample = [depth](int x, int y, int c) { return Mixed(x, y, c, depth); }};
            const int alphaChannel = colourType == 4 ? 1 : 3, shift = depth - 8;
            auto over = [=](int x, int y) {
                int a = static_cast<int>(Mixed(x, y, alphaChannel, depth) >> shift);
                auto at = [&](int c) {
                    return Over(
                        static_cast<int>(Mixed(x, y, colourType == 4 ? 0 : c, depth) >> shift), a);
                };
                return Bgr{at(2), at(1), at(0)};
            };
            ExpectColours(p, over, depth == 16 ? 1 : 0,
                          "type " + std::to_string(colourType) + " depth " + std::to_string(depth));
        }

    // A palette with partial transparency for its first entries only.
    Picture pal{
        .width = 16, .height = 4, .depth = 4, .colourType = 3, .sample = [](int x, int, int) {
            return static_cast<unsigned>(x);
        }};
    for (int i = 0; i < 16; ++i)
        pal.palette.insert(pal.palette.end(), {200, 100, static_cast<uint8_t>(i * 16)});
    pal.trns = {0, 128, 255};
    ExpectColours(
        pal,
        [](int x, int) {
            int a = x == 0 ? 0 : x == 1 ? 128 : 255;
            return Bgr{Over(x * 16, a), Over(100, a), Over(200, a)};
        },
        0, "palette with tRNS");

    // One colour, and one grey level, marked transparent by tRNS.
    Picture rgb{.width = 4, .height = 2, .colourType = 2, .sample = [](int x, int, int c) {
                    return static_cast<unsigned>(x * 10 + c);
                }};
    rgb.trns = {0, 20, 0, 21, 0, 22}; // the colour of column 2
    ExpectColours(
        rgb,
        [](int x, int) {
            return x == 2 ? Bgr{0, 0, 0} : Bgr{x * 10 + 2, x * 10 + 1, x * 10};
        },
        0, "RGB with tRNS");
    Picture grey{
        .width = 4, .height = 1, .depth = 2, .colourType = 0, .sample = [](int x, int, int) {
            return static_cast<unsigned>(x);
        }};
    grey.trns = {0, 3}; // white
    ExpectColours(
        grey,
        [](int x, int) {
            return x == 3 ? Bgr{0, 0, 0} : Bgr{x * 85, x * 85, x * 85};
        },
        0, "grey with tRNS");
}

TEST(PngReader, InterlacedPicturesWithEmptyPassesAreWhole) {
    // Narrow and short pictures leave some of the seven passes without pixels.
    for (auto [w, h] :
         {std::pair{1u, 1u}, std::pair{3u, 1u}, std::pair{1u, 5u}, std::pair{9u, 2u}}) {
        Picture p{.width = w,
                  .height = h,
                  .colourType = 2,
                  .interlaced = true,
                  .sample = [](int x, int y, int c) { return Mixed(x, y, c, 8); }};
        ExpectColours(
            p,
            [](int x, int y) {
                return Bgr{static_cast<int>(Mixed(x, y, 2, 8)), static_cast<int>(Mixed(x, y, 1, 8)),
                           static_cast<int>(Mixed(x, y, 0, 8))};
            },
            0, "interlaced " + std::to_string(w) + "x" + std::to_string(h));
    }
}

TEST(PngReader, DecodingToASizePicksTheSamePixelsAsTheFullPicture) {
    Picture plain{.width = 301, .height = 203, .colourType = 2, .sample = [](int x, int y, int c) {
                      return Mixed(x, y, c, 8);
                  }};
    Picture interlaced = plain;
    interlaced.interlaced = true;
    interlaced.colourType = 6;
    for (const Picture& p : {plain, interlaced}) {
        Bytes file = File(p);
        DecodedPicture full = DecodePng(file);
        for (auto [w, h] : {std::pair{198, 133}, std::pair{40, 200}, std::pair{600, 7},
                            std::pair{1, 1}, std::pair{301, 203}}) {
            DecodedPicture small = DecodePng(file, w, h);
            ASSERT_EQ(small.width, w);
            ASSERT_EQ(small.height, h);
            EXPECT_EQ(small.sourceWidth, 301);
            EXPECT_EQ(small.sourceHeight, 203);
            EXPECT_EQ(small.stride, (static_cast<size_t>(w) * 3 + 3) & ~size_t{3});
            int wrong = 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    int sx = NearestSource(x, w, 301), sy = NearestSource(y, h, 203);
                    const uint8_t* a = small.bits.data() + y * small.stride + 3 * x;
                    const uint8_t* b = full.bits.data() + sy * full.stride + 3 * sx;
                    wrong += a[0] != b[0] || a[1] != b[1] || a[2] != b[2];
                }
            EXPECT_EQ(wrong, 0) << w << "x" << h << (p.interlaced ? " interlaced" : "");
        }
    }
}

TEST(PngReader, RefusesDamagedFiles) {
    Picture p{
        .width = 40, .height = 30, .depth = 8, .colourType = 3, .sample = [](int x, int y, int) {
            return static_cast<unsigned>((x + y) % 4);
        }};
    p.palette = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
    const std::vector<Chunk> good = Chunks(p); // IHDR PLTE IDAT IDAT IEND
    ASSERT_NO_THROW(DecodePng(Assemble(good)));

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
    Bytes whole = Assemble(good);
    auto damaged = [&](size_t at) {
        Bytes b = whole;
        b[at] ^= 0x40;
        return b;
    };
    const size_t idat = 8 + 25 + 24; // the first IDAT chunk's length field
    const Chunk text{"tEXt", {'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 'h', 'i'}};
    Bytes textAfter = with([&](auto& c) { c.insert(c.end() - 1, text); });

    struct Case {
        const char* what;
        Bytes file;
    };
    const Case cases[] = {
        {"empty", {}},
        {"signature only", Bytes(whole.begin(), whole.begin() + 8)},
        {"signature", damaged(1)},
        {"cut in the header", Bytes(whole.begin(), whole.begin() + 20)},
        {"cut in the image data",
         Bytes(whole.begin(), whole.begin() + static_cast<long>(whole.size() / 2))},
        {"cut before the end chunk", Bytes(whole.begin(), whole.end() - 12)},
        {"cut in the end chunk", Bytes(whole.begin(), whole.end() - 1)},
        {"header checksum", damaged(8 + 4 + 4 + 13)},
        {"image data checksum", damaged(whole.size() - 12 - 1)},
        {"end chunk checksum", damaged(whole.size() - 1)},
        {"checksum of a text chunk after the pixels",
         [&] {
             Bytes b = textAfter;
             b[b.size() - 12 - 1] ^= 1;
             return b;
         }()},
        {"checksum of a text chunk before the pixels",
         [&] {
             Bytes b = with([&](auto& c) { c.insert(c.begin() + 2, text); });
             b[8 + 25 + 24 + 4 + 4 + 10] ^= 1;
             return b;
         }()},
        {"deflate data", with([](auto& c) {
             for (size_t i = 2; i < c[2].data.size(); ++i)
                 c[2].data[i] = static_cast<uint8_t>(i * 13);
         })},
        {"deflate checksum", with([](auto& c) { c[3].data.back() ^= 1; })},
        {"image data missing", with([](auto& c) { c.erase(c.begin() + 2, c.begin() + 4); })},
        {"too little image data",
         [&] {
             Picture shorter = p;
             shorter.height = 20;
             auto c = Chunks(shorter);
             c[0] = good[0];
             return Assemble(c);
         }()},
        {"filter type 5",
         [&] {
             Picture q = p;
             q.sample = [](int, int, int) { return 5u; };
             q.depth = 8, q.colourType = 0, q.palette.clear();
             Bytes raw(static_cast<size_t>(41 * 30), 0);
             raw[41 * 7] = 5;
             uLongf size = compressBound(static_cast<uLong>(raw.size()));
             Bytes z(size);
             compress2(z.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 6);
             z.resize(size);
             return Assemble({Header(q), {"IDAT", z}, {"IEND", {}}});
         }()},
        {"end chunk missing", with([](auto& c) { c.pop_back(); })},
        {"palette after the pixels", with([](auto& c) { std::swap(c[1], c[3]); })},
        {"palette missing", with([](auto& c) { c.erase(c.begin() + 1); })},
        {"header not first", with([](auto& c) { std::swap(c[0], c[1]); })},
        {"two headers", with([](auto& c) { c.insert(c.begin() + 1, c[0]); })},
        {"chunk between image data chunks", with([&](auto& c) {
             c.insert(c.begin() + 3, Chunk{"PLTE", c[1].data});
         })},
        {"unknown critical chunk", with([](auto& c) {
             c.insert(c.begin() + 2, Chunk{"QUUX", {1}});
         })},
        {"deflate checksum of an interlaced row whose last pass is not the seventh",
         [] {
             Picture row{.width = 9,
                         .height = 1,
                         .colourType = 2,
                         .interlaced = true,
                         .sample = [](int x, int, int c) { return static_cast<unsigned>(x + c); }};
             auto c = Chunks(row);
             c[2].data.insert(c[2].data.end(), c[3].data.begin(), c[3].data.end());
             c.erase(c.begin() + 3);
             c[2].data.back() ^= 1;
             return Assemble(c);
         }()},
        {"zero width", header([](Picture& q) { q.width = 0; })},
        {"zero height", header([](Picture& q) { q.height = 0; })},
        {"side past the limit", header([](Picture& q) { q.width = 70000; })},
        {"area past the limit", header([](Picture& q) { q.width = 20000, q.height = 20000; })},
        {"side past 2^31", header([](Picture& q) { q.width = 0x80000000u; })},
        {"bit depth 3", header([](Picture& q) { q.depth = 3; })},
        {"16-bit palette", header([](Picture& q) { q.depth = 16; })},
        {"colour type 5", header([](Picture& q) { q.colourType = 5; })},
        {"chunk longer than the file",
         [&] {
             Bytes b = whole;
             b[idat] = 0x7F;
             return b;
         }()},
    };
    for (const Case& c : cases) {
        std::wstring error = ErrorOf([&] { DecodePng(c.file, 20, 15); });
        EXPECT_EQ(error.substr(0, kInvalid.size()), kInvalid) << c.what;
        EXPECT_EQ(error.back(), L')') << c.what;
    }
    // Bounds are checked from the header alone.
    EXPECT_EQ(ErrorOf([&] {
                  ReadPngHeader(header([](Picture& q) { q.width = 20000, q.height = 20000; }));
              }).substr(0, kInvalid.size()),
              kInvalid);
    // Damage the library can name is reported in its words.
    EXPECT_EQ(ErrorOf([&] { DecodePng(damaged(whole.size() - 1)); }),
              L"PNG image is not valid (invalid chunk checksum)");
    EXPECT_NO_THROW(DecodePng(textAfter));
}
