// Writes the program's icons for the desktop's hicolor theme from the picture of the device:
//
//   make-icons resources/korbi.jpg OUTDIR 16 32 48 ...
//
// gives OUTDIR/16x16/apps/korbi-programmer.png and so on, the same picture the window shows.

#include <QDir>
#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/devicepicture.h"

namespace {

int Distance(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
           std::abs(qBlue(a) - qBlue(b));
}

// A desktop draws icons on its own background: the photo's backdrop, a soft gradient, is made
// transparent. The backdrop is what can be reached from the border in small steps of colour
// without going far from the corner's colour, so the device's rim stops it and light parts of
// the device itself stay.
QImage WithoutBackdrop(const QImage& photo) {
    constexpr int kStep = 18;    // the largest change between neighbours within the gradient
    constexpr int kRange = 150;  // how far the gradient may go from the corner's colour
    QImage image = photo.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width(), h = image.height();
    const QRgb backdrop = image.pixel(0, 0);
    std::vector<bool> seen(size_t(w) * size_t(h), false);
    // Each pending point carries the colour of the pixel it was reached from.
    std::vector<std::pair<QPoint, QRgb>> pending;
    for (int x = 0; x < w; ++x)
        for (int y : {0, h - 1}) pending.push_back({QPoint(x, y), image.pixel(x, y)});
    for (int y = 0; y < h; ++y)
        for (int x : {0, w - 1}) pending.push_back({QPoint(x, y), image.pixel(x, y)});
    while (!pending.empty()) {
        const auto [p, from] = pending.back();
        pending.pop_back();
        if (p.x() < 0 || p.y() < 0 || p.x() >= w || p.y() >= h) continue;
        const size_t index = size_t(p.y()) * size_t(w) + size_t(p.x());
        const QRgb pixel = image.pixel(p);
        if (seen[index] || Distance(pixel, from) > kStep || Distance(pixel, backdrop) > kRange)
            continue;
        seen[index] = true;
        image.setPixel(p, qRgba(qRed(pixel), qGreen(pixel), qBlue(pixel), 0));
        for (const QPoint next : {QPoint(p.x() + 1, p.y()), QPoint(p.x() - 1, p.y()),
                                  QPoint(p.x(), p.y() + 1), QPoint(p.x(), p.y() - 1)})
            pending.push_back({next, pixel});
    }
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: make-icons PICTURE.jpg OUTDIR SIZE...\n");
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    const QImage photo = file.open(QIODevice::ReadOnly) ? DecodeJpeg(file.readAll()) : QImage();
    if (photo.isNull()) {
        std::fprintf(stderr, "make-icons: cannot read the picture %s\n", argv[1]);
        return 1;
    }
    const QImage picture = WithoutBackdrop(photo);
    for (int i = 3; i < argc; ++i) {
        const int size = QString::fromLocal8Bit(argv[i]).toInt();
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(argv[2]).arg(size);
        const QString path = folder + "/korbi-programmer.png";
        if (size <= 0 || !QDir().mkpath(folder) || !DeviceIcon(picture, size).save(path, "PNG")) {
            std::fprintf(stderr, "make-icons: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
