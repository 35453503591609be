// JPEG encoding of a 1920 by 1080 picture at quality 80, against libjpeg-turbo's own
// cjpeg on the same pixels (a PPM file), both on this machine in the same run.
//
//   jpeg-bench CJPEG WORKDIR [RUNS]

#include "capture/jpeg_file.h"
#include "tools/bench/timing.h"
#include "tools/standin/pattern.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace vistrel;
using bench::Clock;
using bench::MsSince;

int main(int argc, char** argv) {
    if (argc < 3)
        return 2;
    std::string cjpeg = argv[1], work = argv[2];
    int runs = argc > 3 ? std::atoi(argv[3]) : 15;
    const int w = 1920, h = 1080;

    PixelBuffer pixels(w, h, 32);
    std::vector<uint8_t> ppm;
    std::string head = "P6\n1920 1080\n255\n";
    ppm.insert(ppm.end(), head.begin(), head.end());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            standin::Rgb c = standin::PatternPixel(x, y);
            uint8_t* p = pixels.Row(y) + 4 * x;
            p[0] = c.b, p[1] = c.g, p[2] = c.r, p[3] = 0;
            ppm.push_back(c.r), ppm.push_back(c.g), ppm.push_back(c.b);
        }
    std::string ppmPath = work + "/frame.ppm", jpgPath = work + "/frame.jpg";
    FILE* f = std::fopen(ppmPath.c_str(), "wb");
    std::fwrite(ppm.data(), 1, ppm.size(), f);
    std::fclose(f);

    std::vector<double> ours, theirs;
    size_t bytes = 0;
    for (int i = 0; i < runs; ++i) {
        auto t0 = Clock::now();
        bytes = EncodeJpeg(pixels.View(), 80).size();
        ours.push_back(MsSince(t0));

        std::string cmd =
            cjpeg + " -quality 80 -baseline -dct float -outfile " + jpgPath + " " + ppmPath;
        t0 = Clock::now();
        if (std::system(cmd.c_str()) != 0)
            return 1;
        theirs.push_back(MsSince(t0));
    }
    double a = bench::Median(ours), b = bench::Median(theirs);
    std::printf("jpeg_encode_1080p_q80: %.1f ms\n", a);
    std::printf("cjpeg_1080p_q80_whole_process: %.1f ms\n", b);
    std::printf("jpeg_encode_vs_cjpeg: %.2f ratio\n", a / b);
    std::printf("jpeg_size_1080p_q80: %zu bytes\n", bytes);
    return 0;
}
