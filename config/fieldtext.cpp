#include "config/fieldtext.h"

#include "resources/catalogue.h"
#include "resources/msg.h"

QString ValueText(const SettingsModel& model, Field field) {
    if (SettingOf(field).kind() == FieldKind::Text) return model.Text(field);
    return model.Ticked(field) ? QStringLiteral("ja") : QStringLiteral("nein");
}

QString FieldLabel(Field field) {
    // The two code edits share one row under the heading "Funkkennung".
    if (field == Field::radioCode || field == Field::newRadioCode)
        return Text(Msg::LabelRadioCodeId) + ' ' + CaptionOf(field);
    return CaptionOf(field);
}
