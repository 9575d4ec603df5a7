#pragma once
// What a host does to its settings view around a job: the jobs themselves work on values only.

#include "config/image.h"
#include "jobs/devicejobs.h"

class SettingsModel;

// Shows a read's image in view as coming from the device with code; fileImage is the image that
// Speichern encodes the view onto (null: none).
ReadShown ShowReadInView(SettingsModel& view, const QString& code, const ConfigImage& image,
                         const ConfigImage* fileImage);

// After a write: the view shows the device's code as its current one and, once the device holds
// what the view shows, nothing of it can be lost any more.
void TakeWriteIntoView(SettingsModel& view, const JobOutcome& outcome);
