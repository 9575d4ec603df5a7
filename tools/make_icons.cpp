// Writes the program's icons for the desktop's hicolor theme from the picture of the device:
//
//   make-icons resources/korbi.jpg OUTDIR 16 32 48 ...
//
// gives OUTDIR/16x16/apps/korbi-programmer.png and so on, the same picture the window shows.

#include <QDir>
#include <QFile>
#include <cstdio>

#include "app/devicepicture.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: make-icons PICTURE.jpg OUTDIR SIZE...\n");
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    const QImage picture = file.open(QIODevice::ReadOnly) ? DecodeJpeg(file.readAll()) : QImage();
    if (picture.isNull()) {
        std::fprintf(stderr, "make-icons: cannot read the picture %s\n", argv[1]);
        return 1;
    }
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
