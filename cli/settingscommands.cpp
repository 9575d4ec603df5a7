// korbi-cli show, diff and set: configuration files through the window's settings model.

#include <QJsonArray>
#include <QJsonObject>
#include <algorithm>
#include <cmath>

#include "cli/configuration.h"
#include "cli/context.h"
#include "cli/settingsprint.h"
#include "config/numbers.h"
#include "config/settingstable.h"
#include "files/imagefile.h"
#include "resources/catalogue.h"
#include "resources/msg.h"

namespace {

// Opens the file into a fresh configuration as the window shows it after File > Open.
int Open(Configuration& configuration, const QString& path, bool* taken) {
    configuration.messages.echo = false;
    const int status = OpenConfiguration(configuration, path, taken);
    configuration.messages.echo = true;
    return status;
}

// What a user could type into the field: the window's key filter and maximum length.
bool Typeable(Field field, const QString& value) {
    const SettingRow& info = SettingOf(field);
    if (info.entry.maxLength > 0 && value.size() > info.entry.maxLength) return false;
    for (const QChar c : value) {
        if (!SettingsModel::KeyPasses(info.entry.filter, c) || c.unicode() < 0x20) return false;
    }
    return true;
}

// "true", "1", "ja" tick a box; "false", "0", "nein" untick it.
bool TickValue(const QString& value, QString* modelValue) {
    const QString lower = value.toLower();
    if (lower == "true" || lower == "1" || lower == "ja")
        *modelValue = QStringLiteral("1");
    else if (lower == "false" || lower == "0" || lower == "nein")
        *modelValue = QStringLiteral("0");
    else
        return false;
    return true;
}

bool HoldsControlCharacter(const QString& value) {
    return std::any_of(value.begin(), value.end(),
                       [](QChar c) { return c.category() == QChar::Other_Control; });
}

int Refuse(int textId, const QStringList& args, int status) {
    PrintProblem(FillText(textId, args));
    return status;
}

QString NameOf(Field field) {
    return SettingOf(field).name;
}

// Turns the typed value into the text the field's edit would hold, or refuses it with a German
// line and the exit status: a script must not get success for a value that was not stored as
// given. Times take "2.5" and "2,5" alike, whatever the locale's separator.
int FieldValue(Field field, QString* value) {
    const SettingRow& info = SettingOf(field);
    const QString given = *value;
    const QString name = NameOf(field);
    // The new radio ID code goes to a device only; a file keeps the old one.
    if (SettingOf(field).access == SettingAccess::WriteOnly)
        return Refuse(Msg::FieldNotStored, {name}, ExitUsage);
    if (value->isEmpty()) return Refuse(Msg::ValueEmpty, {name}, ExitFailed);
    if (HoldsControlCharacter(given)) return Refuse(Msg::ValueControlCharacter, {name}, ExitFailed);
    if (info.entry.filter == KeyFilter::Decimal) {
        value->replace(QLatin1Char(','), DecimalSeparator());
        value->replace(QLatin1Char('.'), DecimalSeparator());
    }
    const bool valid =
        info.kind() == FieldKind::Tick ? TickValue(given, value) : Typeable(field, *value);
    if (valid) return ExitDone;
    PrintProblem(
        QStringLiteral("Der Wert %1 passt nicht in das Feld %2.").arg(Quoted(given), name));
    return ExitUsage;
}

// Two texts of a field hold the same value: equal numbers ("2,50" and "2.5"), or equal texts
// in any case (hexadecimal codes).
bool SameValue(const QString& a, const QString& b) {
    bool numberA = false, numberB = false;
    const double x = QString(a).replace(',', '.').toDouble(&numberA);
    const double y = QString(b).replace(',', '.').toDouble(&numberB);
    if (numberA && numberB) return std::fabs(x - y) < 1e-9;
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

int RunShow(const CliContext& context) {
    Configuration configuration(context.applicationDataFolder);
    bool taken = false;
    const int status = Open(configuration, context.options.operands[0], &taken);
    if (status != ExitDone) return status;
    const TerminalMessages& messages = configuration.messages;
    if (context.options.given & OptJson)
        Print(SettingsJson(configuration.model, messages.ids));
    else
        Print(SettingsText(configuration.model) + MessagesText(messages.ids, messages.texts));
    // The window shows such a file but does not take it: no configuration was loaded.
    return taken ? ExitDone : ExitFailed;
}

int RunDiff(const CliContext& context) {
    const QStringList& paths = context.options.operands;
    Configuration a(context.applicationDataFolder);
    Configuration b(context.applicationDataFolder);
    bool taken = false;
    if (Open(a, paths[0], &taken) != ExitDone) return ExitUsage;
    if (Open(b, paths[1], &taken) != ExitDone) return ExitUsage;
    const auto differs = [&](Field field) {
        return ValueText(a.model, field) != ValueText(b.model, field);
    };
    int count = 0;
    for (int i = 0; i < kFieldCount; ++i) count += differs(Field(i)) ? 1 : 0;
    if (context.options.given & OptJson) {
        QJsonArray changes;
        for (int i = 0; i < kFieldCount; ++i) {
            const Field field = Field(i);
            if (!differs(field)) continue;
            changes.append(QJsonObject{{"name", NameOf(field)},
                                       {"label", FieldLabel(field)},
                                       {"a", JsonValue(a.model, field)},
                                       {"b", JsonValue(b.model, field)}});
        }
        Print(JsonText(changes));
    } else {
        Print(SettingsText(a.model, differs, [&](Field field) {
            return ValueText(a.model, field) + " | " + ValueText(b.model, field);
        }));
    }
    return count == 0 ? ExitDone : ExitFailed;
}

int RunSet(const CliContext& context) {
    const QStringList& operands = context.options.operands;
    struct Assignment {
        Field field;
        QString value;
        QString given;  // as typed
        QString held;   // what the field showed once this assignment was made
    };
    // Every assignment is understood before the file is touched.
    QList<Assignment> assignments;
    for (qsizetype i = 1; i < operands.size(); ++i) {
        const qsizetype equals = operands[i].indexOf('=');
        const std::optional<Field> field =
            equals > 0 ? FindSetting(operands[i].left(equals)) : std::nullopt;
        if (!field) {
            PrintProblem(QStringLiteral("%1 ist keine Zuweisung NAME=WERT an eine Einstellung; "
                                        "%2 nennt die Namen.")
                             .arg(Quoted(operands[i]), Quoted("korbi-cli fields")));
            return ExitUsage;
        }
        const QString given = operands[i].mid(equals + 1);
        QString value = given;
        const int status = FieldValue(*field, &value);
        if (status != ExitDone) return status;
        assignments << Assignment{*field, value, given, {}};
    }

    const QString& path = operands[0];
    Configuration configuration(context.applicationDataFolder);
    bool taken = false;
    const int status = OpenConfiguration(configuration, path, &taken);
    if (status != ExitDone) return status;
    // The window would not be bound to a foreign product's file, so Save would not go there.
    if (!taken) return ExitFailed;
    SettingsModel& model = configuration.model;
    for (Assignment& assignment : assignments) {
        const QString name = NameOf(assignment.field);
        if (!model.Enabled(assignment.field)) {
            PrintProblem(QStringLiteral("Das Feld %1 ist im Fenster gesperrt; die Datei bleibt, "
                                        "wie sie war.")
                             .arg(name));
            return ExitFailed;
        }
        QStringList before;
        for (int i = 0; i < kFieldCount; ++i) before << ValueText(model, Field(i));
        model.SetByName(SettingOf(assignment.field).control, assignment.value);
        // The user leaves the edit for the next one, which checks the press time's lower bound.
        if (assignment.field == Field::pressTimeSeconds) model.LeavePressTimeEdit();
        // The entry rule put another value in place of one out of range.
        assignment.held = ValueText(model, assignment.field);
        if (SettingOf(assignment.field).kind() == FieldKind::Text &&
            assignment.held != assignment.value)
            return Refuse(Msg::ValueOutOfRange, {assignment.given, name, assignment.held},
                          ExitFailed);
        // A rule that changes another setting (a zone lives in one group only) is said, so that
        // nothing changes in the file that the user did not see.
        for (int i = 0; i < kFieldCount; ++i) {
            const QString after = ValueText(model, Field(i));
            if (Field(i) == assignment.field || after == before[i]) continue;
            PrintProblem(QStringLiteral("%1=%2 ändert auch %3: %4 → %5")
                             .arg(name, assignment.given, NameOf(Field(i)), Quoted(before[i]),
                                  Quoted(after)));
        }
    }
    // A later assignment's rule may have undone an earlier one (continuousZone3=true
    // restrictedZone3=true): the file would not hold what the call asked for.
    for (const Assignment& assignment : assignments) {
        if (ValueText(model, assignment.field) == assignment.held) continue;
        PrintProblem(QStringLiteral("%1=%2 hält nicht, eine spätere Zuweisung hat %3 daraus "
                                    "gemacht; die Datei bleibt, wie sie war.")
                         .arg(NameOf(assignment.field), assignment.given,
                              Quoted(ValueText(model, assignment.field))));
        return ExitFailed;
    }
    // The file keeps what the encoding can hold: read back as the window would show the saved
    // file, every value must still be the one given (a time keeps one decimal only).
    model.EncodeConfigImage(configuration.fileImage, MarkToFile);
    Configuration stored(context.applicationDataFolder);
    stored.messages.echo = false;
    FillFileImage(stored.fileImage, ExtractImageBytes(configuration.fileImage), MarkFromFile);
    stored.model.ShowFileImage(stored.fileImage, true);
    for (const Assignment& assignment : assignments) {
        const QString kept = ValueText(stored.model, assignment.field);
        if (!SameValue(kept, ValueText(model, assignment.field)))
            return Refuse(Msg::ValueNotKept, {assignment.given, NameOf(assignment.field), kept},
                          ExitFailed);
    }
    return SaveConfiguration(configuration, path) ? ExitDone : ExitUsage;
}

namespace {

// A setting for scripts: English words for the type, the range as values of the type.
QJsonObject FieldJson(Field field, const QString& group) {
    const SettingRow& setting = SettingOf(field);
    // In the order of SettingType.
    static const char* const kTypes[] = {"boolean", "integer", "decimal", "code", "text"};
    QJsonObject row{{"name", setting.name},
                    {"label", FieldLabel(field)},
                    {"group", group},
                    {"type", kTypes[int(setting.type)]},
                    {"unit", QString::fromUtf8(setting.range.unit)},
                    {"settable", setting.access == SettingAccess::Editable}};
    if (setting.range.minimum == setting.range.maximum) return row;
    const auto value = [&](int v) -> QJsonValue {
        if (setting.type == SettingType::Tenths) return v / 10.0;
        if (setting.type == SettingType::Code)
            return QStringLiteral("%1").arg(v, 4, 16, QLatin1Char('0')).toUpper();
        return v;
    };
    row.insert("minimum", value(setting.range.minimum));
    row.insert("maximum", value(setting.range.maximum));
    return row;
}

}  // namespace

int RunFields(const CliContext& context) {
    const bool json = context.options.given & OptJson;
    QString text;
    QJsonArray rows;
    for (int i = 0; i < kFieldCount; ++i) {
        const Field field = Field(i);
        const SettingRow& setting = SettingOf(field);
        const QString group = Text(InfoOf(SettingOf(field).group).titleId);
        const QString type = SettingTypeText(setting);
        const QString range = SettingRangeText(setting);
        const QString unit = QString::fromUtf8(setting.range.unit);
        if (json) {
            rows.append(FieldJson(field, group));
            continue;
        }
        // One line a setting, tab-separated for scripts; "-" marks an empty column.
        const auto column = [](const QString& value) { return value.isEmpty() ? "-" : value; };
        QString access;
        if (setting.access == SettingAccess::DeviceOnly) access = QStringLiteral(" (nur lesbar)");
        if (setting.access == SettingAccess::WriteOnly)
            access = QStringLiteral(" (nur beim Schreiben zum Gerät)");
        text += QStringList{setting.name,  FieldLabel(field), group,
                            type + access, column(unit),      column(range)}
                    .join('\t') +
                '\n';
    }
    Print(json ? JsonText(rows) : text);
    return ExitDone;
}
