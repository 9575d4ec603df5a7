#pragma once
// The picture of the K-ORBI shown by the wait dialog and the About box, the JPEG decoder
// behind it, and the program's icon made from it.

#include <QByteArray>
#include <QIcon>
#include <QImage>

// Decodes a baseline or progressive JPEG (grey or colour) into an RGB image; a null image when
// the data is not a JPEG that libjpeg can read. Never ends the program on bad data.
QImage DecodeJpeg(const QByteArray& data);

// The embedded picture of the device (97 x 128 pixels); a null image if it cannot be decoded.
QImage DevicePicture();

// The program's icon at size x size pixels: the square of the picture that holds the device,
// scaled smoothly. The build writes the desktop's icons with it, so the window and the menu
// show the same picture. A null image for a null picture.
QImage DeviceIcon(const QImage& picture, int size);

// The window icon: DeviceIcon of the embedded picture at the usual sizes, each drawn when it
// is first asked for.
QIcon ProgramWindowIcon();
