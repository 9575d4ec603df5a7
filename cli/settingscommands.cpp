// korbi-cli show, diff and set: configuration files through the window's settings model.

#include <QLocale>

#include "cli/configuration.h"
#include "cli/context.h"
#include "cli/settingsprint.h"
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
    return ExitDone;
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
        QStringList lines;
        for (int i = 0; i < kFieldCount; ++i) {
            const Field field = Field(i);
            if (!differs(field)) continue;
            lines << QStringLiteral("  {\"name\": %1, \"label\": %2, \"a\": %3, \"b\": %4}")
                         .arg(JsonString(InfoOf(field).name), JsonString(FieldLabel(field)),
                              JsonValue(a.model, field), JsonValue(b.model, field));
        }
        Print(lines.isEmpty() ? QStringLiteral("[]\n") : "[\n" + lines.join(",\n") + "\n]\n");
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
        QString value = operands[i].mid(equals + 1);
        const bool valid = InfoOf(*field).kind == FieldKind::Tick ? TickValue(value, &value)
                                                                  : Typeable(*field, value);
        if (!valid) {
            PrintError(QStringLiteral("korbi-cli: Der Wert »%1« passt nicht in das Feld %2.\n")
                           .arg(operands[i].mid(equals + 1), InfoOf(*field).name));
            return ExitUsage;
        }
        assignments << Assignment{*field, value};
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
    }
    return SaveConfiguration(configuration, path) ? ExitDone : ExitUsage;
}
