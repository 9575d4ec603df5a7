#pragma once
// A configuration as the window holds one: the settings model and the file image behind it,
// loaded and saved by the same rules as the window's file commands. Messages are answered on
// the terminal.

#include <QList>
#include <QString>

#include "config/image.h"
#include "config/messages.h"
#include "config/settingsmodel.h"

// Messages on standard error; every id shown is kept in order. A question is answered with
// questionAnswer: the command line already said what the user wants.
class TerminalMessages : public Messages {
  public:
    BoxAnswer ShowMessage(BoxKind kind, int textId, const QString& text,
                          BoxButtons buttons) override;
    bool echo = true;
    BoxAnswer questionAnswer = BoxAnswer::Yes;
    QList<int> ids;
    QStringList texts;
};

struct Configuration {
    explicit Configuration(const QString& applicationDataFolder);
    TerminalMessages messages;
    SettingsModel model{&messages};
    ConfigImage fileImage;
};

// Opens path as File > Open does after start-up. ExitDone with *shown set to whether the file
// became the current one (a foreign product is shown but not taken: message 10820); ExitUsage
// with the message printed when the file cannot be loaded.
int OpenConfiguration(Configuration& configuration, const QString& path, bool* taken);

// Saves into the opened file as File > Save does; false (message printed) when it failed.
bool SaveConfiguration(Configuration& configuration, const QString& path);

// The file that File > Save As writes for a name typed in its dialog: ".Korbi" replaces the
// extension. An existing file is never replaced: ExitDone with *target naming the file, or
// ExitUsage with the message printed.
int SaveAsTarget(const QString& name, QString* target);

// Saves as File > Save As does to the target SaveAsTarget gave; ExitUsage with the message
// printed when the write failed.
int SaveConfigurationAs(Configuration& configuration, const QString& target);
