#include "cli/settingsprint.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

#include "config/numbers.h"
#include "config/settingstable.h"
#include "resources/catalogue.h"

QString SettingsText(const SettingsModel& model, const std::function<bool(Field)>& filter,
                     const std::function<QString(Field)>& value) {
    QString text;
    int group = -1;
    for (int i = 0; i < kFieldCount; ++i) {
        const Field field = Field(i);
        if (filter && !filter(field)) continue;
        const SettingRow& info = SettingOf(field);
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

QJsonValue JsonValue(const SettingsModel& model, Field field) {
    const QString text = model.Text(field);
    // A number the model does not hold (empty, or "?" for a block a device did not send) is
    // unknown: null, never a string in its place.
    switch (SettingOf(field).type) {
        case SettingType::Tick:
            return model.Ticked(field);
        case SettingType::WholeNumber:
            if (const std::optional<int32_t> value = ParseWholeNumber(text)) return int(*value);
            return QJsonValue::Null;
        case SettingType::Tenths:
            // Whatever separator the locale shows the time with.
            if (const std::optional<float> value = ParseDecimal(text))
                return std::round(double(*value) * 10.0) / 10.0;
            return QJsonValue::Null;
        case SettingType::Code:
        case SettingType::Text:
            break;
    }
    return text;
}

QString JsonText(const QJsonValue& value) {
    const QJsonDocument document =
        value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    return QString::fromUtf8(document.toJson(QJsonDocument::Indented));
}

QString SettingsJson(const SettingsModel& model, const QList<int>& messageIds) {
    QJsonObject object;
    for (int i = 0; i < kFieldCount; ++i)
        object.insert(SettingOf(Field(i)).name, JsonValue(model, Field(i)));
    QJsonArray ids;
    for (const int id : messageIds) ids.append(id);
    object.insert(QStringLiteral("messages"), ids);
    return JsonText(object);
}
