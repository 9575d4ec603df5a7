#pragma once
// The application object: German toolkit texts, and a last line of defence for errors that
// escape an event handler.

#include <QApplication>

class Prompts;

class KorbiApplication : public QApplication {
  public:
    KorbiApplication(int& argc, char** argv);
    // The box that shows an escaped error; without one, a plain German error box is used.
    void SetPrompts(Prompts* prompts) { prompts_ = prompts; }

    // An exception that escapes a handler is shown in an error box and ends only that handler;
    // the program runs on.
    bool notify(QObject* receiver, QEvent* event) override;

  private:
    Prompts* prompts_ = nullptr;
};

// Makes the German locale the default, so that the window's numbers are German ("2,5"), and
// loads Qt's German catalogue (qtbase_de), so that file dialogs and shortcut names ("Strg+") are
// German. Returns false when the catalogue is not installed.
bool InstallGermanToolkitTexts(QCoreApplication& app);

// Shows the error box for an error that escaped: its message, title "Fehler", one OK button.
void ShowEscapedError(Prompts* prompts, const QString& message);
