#pragma once
// A configuration as the window holds one: the settings model and the file image behind it,
// loaded and saved by the same rules as the window's file commands. Messages are answered on
// the terminal.

#include <QList>
#include <QString>

#include "config/image.h"
#include "config/messages.h"
#include "config/settingsmodel.h"
#include "files/fileplace.h"
#include "resources/msg.h"

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

// Refuses to replace the file at path, saying so: the usage exit status.
int AlreadyThere(const QString& path);

// The file that `read -o` saves, checked before anybody presses a button for a read that could
// not be kept: ".Korbi" replaces the extension, as File > Save As does for a typed name; the
// folder must exist and take new files, and no file, nor another user's link, may stand at
// the name. ExitDone with *target naming the file and place resolved, or ExitUsage with the
// message printed.
// unusableId names the text that says the target cannot be used.
int SaveAsTarget(const QString& name, QString* target, FilePlace& place,
                 int unusableId = Msg::ReadTargetUnusable);

// Saves as a new file at the place that SaveAsTarget resolved, never over anything: when a file
// took the name meanwhile, the configuration goes to the first free "NAME (2).Korbi" beside it
// and a line says so. ExitDone with *saved naming the file, or ExitUsage with the message
// printed.
int SaveConfigurationAs(Configuration& configuration, const QString& target, const FilePlace& place,
                        QString* saved);
