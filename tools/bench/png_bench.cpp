// PNG compression of a 1920 by 1080 photo and the preview's first decoding of it, with the
// sizes of the same pixels as BMP and as JPEG at quality 80. Two pictures: a textured 3-D
// scene (scene.h), the realistic case, and the browser stand-in's pattern, which any
// encoder shrinks to little. Then the memory the encoder holds at most beyond the bitmap,
// and its time, for a photo of the largest size allowed: the scene stretched to it, and
// noise, which no encoder shrinks. Built natively and for Windows, to run under Wine.
//
//   png-bench [RUNS [NAME-SUFFIX]]

#include "album/png_reader.h"
#include "capture/bmp_file.h"
#include "capture/jpeg_file.h"
#include "capture/png_file.h"
#include "capture/resample.h"
#include "tests/native/support/allocation_peak.h"
#include "tools/bench/scene.h"
#include "tools/bench/timing.h"
#include "tools/standin/pattern.h"

#include <algorithm>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

using namespace vistrel;
using bench::MedianMs;

namespace {

constexpr int kWidth = 1920, kHeight = 1080;
// The preview's picture area at the panel's usual size, 4:3 with a 16:9 photo fitted in.
constexpr int kPreviewWidth = 198, kPreviewHeight = 111;

PixelBuffer Picture(bool scene) {
    PixelBuffer p(kWidth, kHeight, 32);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            uint8_t* px = p.Row(y) + 4 * x;
            if (scene) {
                bench::Rgb c = bench::ScenePixel(x, y, kWidth, kHeight);
                px[0] = c.b, px[1] = c.g, px[2] = c.r;
            } else {
                standin::Rgb c = standin::PatternPixel(x, y);
                px[0] = c.b, px[1] = c.g, px[2] = c.r;
            }
        }
    return p;
}

// The largest photo: 16384 by 16384 pixels, 1 GiB of bitmap at 32 bits per pixel.
constexpr int kLargestSide = 16384;

PixelBuffer LargestPicture(bool noise, const PixelBuffer& scene) {
    PixelBuffer p(kLargestSide, kLargestSide, 32);
    if (noise) {
        uint64_t seed = 1;
        for (uint8_t& b : p.bits)
            b = static_cast<uint8_t>((seed = seed * 6364136223846793005u + 1) >> 56);
    } else if (!ResamplePixels(scene.View(), p.View(), p.bits.data())) {
        std::exit(1);
    }
    return p;
}

void MeasureLargest(const PixelBuffer& scene, const std::string& suffix) {
    for (bool noise : {false, true}) {
        const std::string name =
            std::to_string(kLargestSide) + (noise ? "_noise" : "_stretched") + suffix;
        const PixelBuffer pixels = LargestPicture(noise, scene);
        size_t size = 0, peak = 0;
        // One run: a few seconds each.
        double encode = MedianMs(1, [&] {
            testing_support::AllocationPeak measured;
            size = EncodePng(pixels.View()).size();
            peak = measured.Bytes();
        });
        std::printf("png_encode_%s: %.1f ms\n", name.c_str(), encode);
        std::printf("png_size_%s: %zu bytes\n", name.c_str(), size);
        std::printf("png_encode_peak_memory_%s: %.1f MB\n", name.c_str(), peak / 1048576.0);
        std::printf("png_bitmap_%s: %.1f MB\n", name.c_str(), pixels.bits.size() / 1048576.0);
    }
}

} // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    std::string suffix = argc > 2 ? argv[2] : "";

    for (bool scene : {true, false}) {
        const std::string name = std::string(scene ? "1080p" : "1080p_standin") + suffix;
        PixelBuffer pixels = Picture(scene);
        PixelView view = pixels.View();

        std::vector<uint8_t> png;
        double encode = MedianMs(runs, [&] { png = EncodePng(view); });
        size_t decoded = 0;
        double preview = MedianMs(
            runs, [&] { decoded = DecodePng(png, kPreviewWidth, kPreviewHeight).bits.size(); });
        double full = MedianMs(runs, [&] { decoded += DecodePng(png).bits.size(); });

        std::printf("png_encode_%s: %.1f ms\n", name.c_str(), encode);
        std::printf("png_size_%s: %zu bytes\n", name.c_str(), png.size());
        std::printf("bmp_size_%s: %zu bytes\n", name.c_str(),
                    BmpFileHeaders(view).size() + view.Stride() * kHeight);
        std::printf("jpeg_q80_size_%s: %zu bytes\n", name.c_str(), EncodeJpeg(view, 80).size());
        std::printf("png_preview_decode_%s: %.1f ms\n", name.c_str(), preview);
        std::printf("png_full_decode_%s: %.1f ms\n", name.c_str(), full);
        if (decoded == 0)
            return 1;
    }
    MeasureLargest(Picture(true), suffix);
    return 0;
}
