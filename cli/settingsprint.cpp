#include "cli/settingsprint.h"

#include "resources/catalogue.h"
#include "resources/msg.h"

QString ValueText(const SettingsModel& model, Field field) {
    if (InfoOf(field).kind == FieldKind::Text) return model.Text(field);
    return model.Ticked(field) ? QStringLiteral("ja") : QStringLiteral("nein");
}

QString FieldLabel(Field field) {
    // The two code edits share one row under the heading "Funkkennung".
    if (field == Field::edtRadioCodeOld || field == Field::edtRadioCodeNew)
        return Text(Msg::LabelRadioCodeId) + ' ' + CaptionOf(field);
    return CaptionOf(field);
}

QString SettingsText(const SettingsModel& model, const std::function<bool(Field)>& filter,
                     const std::function<QString(Field)>& value) {
    QString text;
    int group = -1;
    for (int i = 0; i < kFieldCount; ++i) {
        const Field field = Field(i);
        if (filter && !filter(field)) continue;
        const FieldInfo& info = InfoOf(field);
        if (int(info.group) != group) {
            group = int(info.group);
            text += Text(InfoOf(info.group).titleId) + '\n';
        }
        const QString shown = value ? value(field) : ValueText(model, field);
        text += "  " + FieldLabel(field) + ':' + (shown.isEmpty() ? QString() : ' ' + shown) + '\n';
    }
    return text;
}

QString MessagesText(const QList<int>& ids, const QStringList& texts) {
    if (ids.isEmpty()) return QString();
    QString text = QStringLiteral("Meldungen\n");
    for (qsizetype i = 0; i < ids.size(); ++i) {
        QString message = texts.value(i);
        message.replace('\n', QStringLiteral("\n         "));
        text += QStringLiteral("  %1: %2\n").arg(ids[i]).arg(message);
    }
    return text;
}

QString JsonString(const QString& text) {
    QString json = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (c == '\n') {
            json += QStringLiteral("\\n");
        } else if (c.unicode() < 0x20) {
            json += QString::asprintf("\\u%04x", c.unicode());
        } else {
            json += c;
        }
    }
    return json + '"';
}

QString JsonValue(const SettingsModel& model, Field field) {
    if (InfoOf(field).kind == FieldKind::Text) return JsonString(model.Text(field));
    return model.Ticked(field) ? QStringLiteral("true") : QStringLiteral("false");
}

QString SettingsJson(const SettingsModel& model, const QList<int>& messageIds) {
    QString json = QStringLiteral("{\n");
    for (int i = 0; i < kFieldCount; ++i) {
        const Field field = Field(i);
        json += "  " + JsonString(InfoOf(field).name) + ": " + JsonValue(model, field) + ",\n";
    }
    QStringList ids;
    for (const int id : messageIds) ids << QString::number(id);
    return json + "  \"messages\": [" + ids.join(", ") + "]\n}\n";
}
