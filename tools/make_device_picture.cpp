// Draws the small picture of the K-ORBI that the wait dialog and the About box show: a round
// alarm button on a lanyard, 97 x 128 pixels, written as a baseline JPEG with libjpeg.
//
//   make-device-picture resources/korbi.jpg
//
// The picture is drawn with plain geometry and 4 x 4 supersampling, so that it needs nothing
// but libjpeg and gives the same file on every machine.

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <vector>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace {

constexpr int kWidth = 97;
constexpr int kHeight = 128;
constexpr int kSamples = 4;

struct Colour {
    double r, g, b;
};

Colour Mix(Colour a, Colour b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

double Distance(double x, double y, double cx, double cy) {
    return std::hypot(x - cx, y - cy);
}

// Distance from (x, y) to the segment from (ax, ay) to (bx, by).
double SegmentDistance(double x, double y, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    double t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy);
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    return Distance(x, y, ax + t * dx, ay + t * dy);
}

// The colour of one point of the picture; later layers paint over earlier ones.
Colour PointColour(double x, double y) {
    const Colour background = Mix({0.93, 0.95, 0.98}, {0.80, 0.85, 0.92}, y / kHeight);
    const Colour strap{0.10, 0.25, 0.55};
    const Colour metal{0.62, 0.64, 0.68};
    const Colour casing{0.22, 0.23, 0.26};
    const Colour rim{0.45, 0.47, 0.52};
    const Colour button{0.80, 0.08, 0.06};
    const Colour shine{1.0, 0.55, 0.50};
    const Colour led{0.20, 0.85, 0.25};

    const double cx = 48.5, cy = 84.0;  // centre of the device
    Colour c = background;

    // Lanyard: two straps from the top edge down to the ring.
    if (SegmentDistance(x, y, 18, -2, 45, 36) < 3.2 || SegmentDistance(x, y, 79, -2, 52, 36) < 3.2)
        c = strap;
    // Metal ring through the eyelet of the casing.
    const double ring = Distance(x, y, cx, 39.5);
    if (ring > 4.0 && ring < 6.5) c = metal;
    // Eyelet of the casing.
    if (SegmentDistance(x, y, cx, 44, cx, 50) < 4.5) c = casing;

    // Casing with a lighter rim and a soft shadow below.
    const double d = Distance(x, y, cx, cy);
    if (Distance(x, y, cx + 2, cy + 3) < 40 && d >= 38.5) c = Mix(c, {0.3, 0.3, 0.35}, 0.35);
    if (d < 38.5) c = rim;
    if (d < 35.5) c = Mix(casing, {0.34, 0.35, 0.39}, (cy - y + 35) / 70.0);

    // The red alarm button, lit from the upper left.
    const double b = Distance(x, y, cx, cy + 1);
    if (b < 23.5) {
        const double light = 1.0 - Distance(x, y, cx - 8, cy - 8) / 36.0;
        c = Mix(button, shine, light > 0 ? light * light : 0);
    }
    if (b >= 23.5 && b < 25.0) c = {0.12, 0.12, 0.14};

    // Status LED above the button.
    if (Distance(x, y, cx + 19, cy - 25) < 2.6) c = led;
    return c;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.jpg\n", argv[0]);
        return 2;
    }
    std::vector<JSAMPLE> pixels(kWidth * kHeight * 3);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            double r = 0, g = 0, b = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const Colour c =
                        PointColour(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples);
                    r += c.r, g += c.g, b += c.b;
                }
            }
            const double n = kSamples * kSamples;
            JSAMPLE* p = &pixels[(y * kWidth + x) * 3];
            p[0] = static_cast<JSAMPLE>(std::lround(255 * r / n));
            p[1] = static_cast<JSAMPLE>(std::lround(255 * g / n));
            p[2] = static_cast<JSAMPLE>(std::lround(255 * b / n));
        }
    }

    FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, out);
    cinfo.image_width = kWidth;
    cinfo.image_height = kHeight;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = &pixels[cinfo.next_scanline * kWidth * 3];
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    const bool ok = std::fclose(out) == 0;
    return ok ? 0 : 1;
}
