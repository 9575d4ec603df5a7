#pragma once
// The picture of the K-ORBI shown by the wait dialog and the About box, and the JPEG decoder
// behind it.

#include <QByteArray>
#include <QImage>

// Decodes a baseline or progressive JPEG (grey or colour) into an RGB image; a null image when
// the data is not a JPEG that libjpeg can read. Never ends the program on bad data.
QImage DecodeJpeg(const QByteArray& data);

// The embedded picture of the device (97 x 128 pixels); a null image if it cannot be decoded.
QImage DevicePicture();
