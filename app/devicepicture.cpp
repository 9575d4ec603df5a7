#include "app/devicepicture.h"

#include <QFile>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <map>
#include <vector>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace {

// libjpeg's default error handler ends the process; this one jumps back to the decoder instead.
struct JpegErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf resume;
};

void JpegErrorExit(j_common_ptr info) {
    auto* manager = reinterpret_cast<JpegErrorManager*>(info->err);
    std::longjmp(manager->resume, 1);
}

void JpegQuietMessage(j_common_ptr) {}

// The decoding proper. It holds no C++ object with a destructor, so that the jump back from
// JpegErrorExit skips nothing; the pixels go into the image that the caller owns.
bool DecodeInto(const unsigned char* data, unsigned long size, QImage* image) {
    jpeg_decompress_struct info;
    JpegErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = JpegErrorExit;
    errors.base.output_message = JpegQuietMessage;
    if (setjmp(errors.resume)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_RGB;  // grey and YCbCr pictures alike come out as RGB
    jpeg_start_decompress(&info);
    if (info.output_components != 3 || info.output_width == 0 || info.output_height == 0 ||
        info.output_width > 4096 || info.output_height > 4096) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    *image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                    QImage::Format_RGB888);
    if (image->isNull()) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image->scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

QImage DecodeJpeg(const QByteArray& data) {
    if (data.isEmpty()) return QImage();
    QImage image;
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
    if (!DecodeInto(bytes, static_cast<unsigned long>(data.size()), &image)) return QImage();
    return image;
}

QImage DevicePicture() {
    // Decoded once: the window's icon, the wait dialog and the About box all show it at start.
    static const QImage picture = [] {
        // The resource lives in a static library; naming it here makes the linker keep it.
        Q_INIT_RESOURCE(korbi);
        QFile file(":/korbi.jpg");
        return file.open(QIODevice::ReadOnly) ? DecodeJpeg(file.readAll()) : QImage();
    }();
    return picture;
}

QImage DeviceIcon(const QImage& picture, int size) {
    if (picture.isNull() || size <= 0) return QImage();
    // The picture is upright; the device sits in its lower part under the lanyard, so the
    // square is the bottom one.
    const int side = std::min(picture.width(), picture.height());
    const QRect square((picture.width() - side) / 2, picture.height() - side, side, side);
    return picture.copy(square).scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

namespace {

// Draws the icon at a size when it is first asked for. A desktop that takes the icon from the
// desktop entry never asks, and the window shows without decoding and scaling the picture.
class DeviceIconEngine : public QIconEngine {
  public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::min(size.width(), size.height());
        return QSize(side, side);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::min(size.width(), size.height());
        QPixmap& drawn = drawn_[side];
        if (drawn.isNull()) drawn = QPixmap::fromImage(DeviceIcon(DevicePicture(), side));
        return drawn;
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (int side : {16, 32, 48, 64, 128}) sizes.append(QSize(side, side));
        return sizes;
    }
    QIconEngine* clone() const override { return new DeviceIconEngine(*this); }

  private:
    std::map<int, QPixmap> drawn_;
};

}  // namespace

QIcon ProgramWindowIcon() {
    return QIcon(new DeviceIconEngine);
}
