#pragma once
// The configuration a read hands to the user, as bytes: what Speichern writes right after the
// read. The record keeps exactly these bytes, so that a configuration taken back out of it is
// the file the technician saved.

#include <QByteArray>

#include "config/image.h"

class SettingsModel;

// The view encoded onto a copy of the file image that the program holds (its bytes stand where
// no field is, as in a saved file); onto an empty image when there is none.
QByteArray SavedImageData(const SettingsModel& view, const ConfigImage* fileImage);
