#include "jobs/jobview.h"

#include "config/savedimage.h"
#include "config/settingsmodel.h"

ReadShown ShowReadInView(SettingsModel& view, const QString& code, const ConfigImage& image,
                         const ConfigImage* fileImage) {
    view.SetTextAsLoaded(Field::radioCode, code);
    view.EnableGeneration2Controls(image);
    ReadShown shown;
    shown.decodeResult = view.DecodeConfigImage(image, MarkFromDevice);
    // The view shows what the device holds, whatever the decoder had to say about it.
    view.MarkClean();
    shown.productionDate = view.Text(Field::productionDate);
    // A read is recorded as the file Speichern writes right after it, so that restore gives
    // back those very bytes.
    shown.saved = SavedImageData(view, fileImage);
    return shown;
}

void TakeWriteIntoView(SettingsModel& view, const JobOutcome& outcome) {
    if (outcome.job != JournalJob::Write || outcome.codeBefore.isEmpty() ||
        outcome.end == JobEnd::Refused)
        return;
    view.SetTextAsLoaded(Field::radioCode, outcome.codeBefore);
    if (outcome.written) view.MarkClean();
}
