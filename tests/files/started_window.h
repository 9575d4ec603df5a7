#pragma once
// A machine in a temporary folder: the program folder with the shipped files, a data folder and
// a documents folder that stand for the user's, and the main window started on them with a
// scripted user.

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMap>
#include <QTemporaryDir>
#include <memory>

#include "app/mainwindow.h"
#include "app/platform.h"
#include "app/windows.h"
#include "support/scripted_prompts.h"
#include "test_folder.h"

class Machine {
  public:
    enum Files { Bare, WithShippedFiles };
    explicit Machine(Files files = Bare) {
        QDir(root.path()).mkpath("bin");
        programFolder = root.path() + "/bin/";
        commonData = root.path() + "/home/.local/share";
        commonDocuments = root.path() + "/home/Dokumente";
        dataFolder = commonData + "/TALO/K-ORBI Programmer (DE)/";
        documentFolder = commonDocuments + "/TALO/K-ORBI config/";
        if (files == WithShippedFiles) Ship();
    }

    // Puts the shipped files of the source tree beside the program.
    void Ship(const QStringList& names = {"Values.i", "Default_v1.b", "Default_v2.b"}) {
        for (const QString& name : names)
            QFile::copy(QString(KORBI_SOURCE_DIR) + "/resources/" + name, programFolder + name);
    }
    static QByteArray Shipped(const QString& name) {
        return ReadBytes(QString(KORBI_SOURCE_DIR) + "/resources/" + name);
    }

    // Creates the main window and runs its start-up with the given command-line arguments.
    std::unique_ptr<MainWindow> Start(const QStringList& arguments = {}) {
        auto window = std::make_unique<MainWindow>(Environment(arguments));
        window->FormCreate();
        return window;
    }

    // Starts the program as its entry does: the LPX that the arguments ask for, then all five
    // windows.
    AppWindows StartProgram(const QStringList& arguments) {
        env = Environment(arguments);
        ProgramOptions options;
        QString error;
        ParseProgramOptions(ForWindow, env.arguments, &options, &error);
        driver = ConnectLpx(options, env);
        return CreateWindows(env);
    }

    AppEnvironment Environment(const QStringList& arguments) {
        AppEnvironment e;
        e.commonDataFolder = commonData;
        e.commonDocumentsFolder = commonDocuments;
        e.programFolder = programFolder;
        e.arguments = QStringList{programFolder + "korbi-programmer"} + arguments;
        e.version.fileVersion = version;
        e.prompts = &prompts;
        return e;
    }

    QTemporaryDir root;
    QString programFolder, commonData, commonDocuments, dataFolder, documentFolder;
    QString version = "1.0.0.0";
    ScriptedPrompts prompts;
    AppEnvironment env;
    std::unique_ptr<SerialDriver> driver;
};

// The texts and ticks of every edit and check box of the window, by name.
inline QMap<QString, QString> ViewOf(const MainWindow& window) {
    QMap<QString, QString> view;
    for (const QLineEdit* edit : window.findChildren<QLineEdit*>())
        view[edit->objectName()] = edit->text();
    for (const QCheckBox* box : window.findChildren<QCheckBox*>())
        view[box->objectName()] = box->isChecked() ? "ticked" : "-";
    return view;
}

// An image of the v2.x template with one byte changed.
inline QByteArray TemplateWith(int address, uint8_t value, int generation = 2) {
    QByteArray bytes = Machine::Shipped(generation == 1 ? "Default_v1.b" : "Default_v2.b");
    bytes[address] = static_cast<char>(value);
    return bytes;
}
