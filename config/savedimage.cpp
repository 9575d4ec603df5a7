#include "config/savedimage.h"

#include "config/settingsmodel.h"

QByteArray SavedImageData(const SettingsModel& view, const ConfigImage* fileImage) {
    ConfigImage image;
    if (fileImage)
        image = *fileImage;
    else
        ClearImage(image);
    view.EncodeConfigImage(image, MarkToFile);
    const ImageBytes bytes = ExtractImageBytes(image);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), kImageSize);
}
