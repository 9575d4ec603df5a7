#pragma once
// One window for all files: a double-click on a .Korbi file while the program runs hands the
// file to the running window instead of opening a second one. The running window owns the
// application's name on the session bus and answers the freedesktop application interface
// (org.freedesktop.Application); a new start with nothing but one file asks it to open the file.
// Without a session bus, or when anything fails, every start opens its own window as before.

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include "files/programoptions.h"

class MainWindow;

// The object path of the application's name, as the freedesktop convention derives it.
extern const char* const kApplicationPath;

// Asks a running window to open the one file that options name, and waits a few seconds for its
// answer. True only when the window took the file over; false, without a word, when the command
// line is more than one existing file, when there is no session bus, no running window, no
// answer in time or an error answer: the caller then starts its own window.
bool HandFileToRunningWindow(const ProgramOptions& options);

// The running window's side: object and name on bus. False when the name is owned already (the
// first window keeps receiving the files) or the bus is not connected.
bool ServeApplicationBus(MainWindow* window, QDBusConnection bus);

// ServeApplicationBus on the session bus, when the environment names one.
bool ServeApplicationBus(MainWindow* window);

class ApplicationBus : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

  public:
    explicit ApplicationBus(MainWindow* window);

  public Q_SLOTS:
    void Activate(const QVariantMap& platformData);
    // Answers as soon as the window takes the first local file, before it asks about unsaved
    // edits: the question waits for the user, the caller only a few seconds.
    void Open(const QStringList& uris, const QVariantMap& platformData);
    // The window has no actions of its own to offer.
    void ActivateAction(const QString& name, const QVariantList& parameter,
                        const QVariantMap& platformData);

  private:
    MainWindow* window_;
};
