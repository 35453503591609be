// PNG compression of a 1920 by 1080 photo and the preview's first decoding of it, with the
// sizes of the same pixels as BMP and as JPEG at quality 80. Two pictures: a textured 3-D
// scene (scene.h), the realistic case, and the browser stand-in's pattern, which any
// encoder shrinks to little. Built natively and for Windows, to run under Wine.
//
//   png-bench [RUNS [NAME-SUFFIX]]

#include "album/png_reader.h"
#include "capture/bmp_file.h"
#include "capture/jpeg_file.h"
#include "capture/png_file.h"
#include "tools/bench/scene.h"
#include "tools/bench/timing.h"
#include "tools/standin/pattern.h"

#include <algorithm>
#include <cstdio>
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
    return 0;
}
