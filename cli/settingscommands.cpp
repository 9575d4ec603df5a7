// korbi-cli show, diff and set: configuration files through the window's settings model.

#include <QJsonArray>
#include <QJsonObject>
#include <algorithm>

#include "cli/configuration.h"
#include "cli/context.h"
#include "cli/settingsprint.h"
#include "config/numbers.h"
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
    const FieldInfo& info = InfoOf(field);
    if (info.maxLength > 0 && value.size() > info.maxLength) return false;
    for (const QChar c : value) {
        if (!SettingsModel::KeyPasses(info.filter, c) || c.unicode() < 0x20) return false;
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
    PrintError(QStringLiteral("korbi-cli: ") + FillText(textId, args) + '\n');
    return status;
}

// Turns the typed value into the text the field's edit would hold, or refuses it with a German
// line and the exit status: a script must not get success for a value that was not stored as
// given. Times take "2.5" and "2,5" alike, whatever the locale's separator.
int FieldValue(Field field, QString* value) {
    const FieldInfo& info = InfoOf(field);
    const QString given = *value;
    // The new radio ID code goes to a device only; a file keeps the old one.
    if (field == Field::edtRadioCodeNew) return Refuse(Msg::FieldNotStored, {info.name}, ExitUsage);
    if (value->isEmpty()) return Refuse(Msg::ValueEmpty, {info.name}, ExitFailed);
    if (HoldsControlCharacter(given))
        return Refuse(Msg::ValueControlCharacter, {info.name}, ExitFailed);
    if (info.filter == KeyFilter::Decimal) {
        value->replace(QLatin1Char(','), DecimalSeparator());
        value->replace(QLatin1Char('.'), DecimalSeparator());
    }
    const bool valid =
        info.kind == FieldKind::Tick ? TickValue(given, value) : Typeable(field, *value);
    if (valid) return ExitDone;
    PrintError(QStringLiteral("korbi-cli: Der Wert »%1« passt nicht in das Feld %2.\n")
                   .arg(given, info.name));
    return ExitUsage;
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
            changes.append(QJsonObject{{"name", InfoOf(field).name},
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
    };
    // Every assignment is understood before the file is touched.
    QList<Assignment> assignments;
    for (qsizetype i = 1; i < operands.size(); ++i) {
        const qsizetype equals = operands[i].indexOf('=');
        const std::optional<Field> field =
            equals > 0 ? FindField(operands[i].left(equals)) : std::nullopt;
        if (!field) {
            PrintError(QStringLiteral("korbi-cli: %1 ist keine Zuweisung NAME=WERT an ein Feld "
                                      "des Fensters.\n")
                           .arg(operands[i]));
            return ExitUsage;
        }
        const QString given = operands[i].mid(equals + 1);
        QString value = given;
        const int status = FieldValue(*field, &value);
        if (status != ExitDone) return status;
        assignments << Assignment{*field, value, given};
    }

    const QString& path = operands[0];
    Configuration configuration(context.applicationDataFolder);
    bool taken = false;
    const int status = OpenConfiguration(configuration, path, &taken);
    if (status != ExitDone) return status;
    // The window would not be bound to a foreign product's file, so Save would not go there.
    if (!taken) return ExitFailed;
    SettingsModel& model = configuration.model;
    for (const Assignment& assignment : assignments) {
        if (!model.Enabled(assignment.field)) {
            PrintError(QStringLiteral("korbi-cli: Das Feld %1 ist im Fenster gesperrt; die Datei "
                                      "bleibt, wie sie war.\n")
                           .arg(InfoOf(assignment.field).name));
            return ExitFailed;
        }
        model.SetByName(InfoOf(assignment.field).name, assignment.value);
        // The user leaves the edit for the next one, which checks the press time's lower bound.
        if (assignment.field == Field::edtLongDoubleTriplePressTime) model.LeavePressTimeEdit();
        // The entry rule put another value in place of one out of range.
        const QString shown = ValueText(model, assignment.field);
        if (InfoOf(assignment.field).kind == FieldKind::Text && shown != assignment.value)
            return Refuse(Msg::ValueOutOfRange,
                          {assignment.given, InfoOf(assignment.field).name, shown}, ExitFailed);
    }
    return SaveConfiguration(configuration, path) ? ExitDone : ExitUsage;
}
