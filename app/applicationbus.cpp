// Handing a file from a new start to the window that runs already, over the session bus.

#include "app/applicationbus.h"

#include <QApplication>
#include <QDBusMessage>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>

#include "app/mainwindow.h"
#include "files/fileerrors.h"
#include "files/filenames.h"
#include "files/imagefile.h"
#include "version_record.h"

const char* const kApplicationPath = "/se/talo/korbi_programmer";

namespace {

const char* const kInterface = "org.freedesktop.Application";
// Long enough for a window that is busy drawing, short enough that a hung one is not waited for.
constexpr int kReplyMs = 3000;

// The session bus is asked for only when the environment names one: libdbus would otherwise try
// to launch a bus of its own.
bool SessionBusNamed() {
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

QString AppId() {
    return QStringLiteral(KORBI_APP_ID);
}

// The file's URL from its bytes, so that a name that is no UTF-8 arrives as it is.
QString FileUrl(const QString& path) {
    const QString absolute =
        QDir::cleanPath(path.startsWith('/') ? path : QDir::currentPath() + '/' + path);
    return QStringLiteral("file://") +
           QString::fromLatin1(FileNameBytes(absolute).toPercentEncoding("/"));
}

// The local file a URL names, with the bytes its percent-encoding gives; empty for another
// scheme.
QString LocalFile(const QUrl& url) {
    if (!url.isLocalFile()) return QString();
    return FileNameFromBytes(
        QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
}

void RaiseWindow(MainWindow* window, const QVariantMap& platformData) {
    // On Wayland only a token from the caller lets the compositor give the window the focus.
    const QString token = platformData.value(QStringLiteral("activation-token")).toString();
    if (!token.isEmpty()) qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
    if (window->isMinimized()) window->showNormal();
    window->raise();
    window->activateWindow();
}

}  // namespace

bool HandFileToRunningWindow(const ProgramOptions& options) {
    // Only a plain double-click hands over: an option or a folder asks for a window of its own.
    if (options.given != 0 || options.positionals.size() != 1) return false;
    const QString file = options.positionals.first();
    if (!PathExists(file) || NotAFileError(file) != 0 || !SessionBusNamed()) return false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    QDBusMessage call =
        QDBusMessage::createMethodCall(AppId(), kApplicationPath, kInterface, "Open");
    // No owner of the name gives an error at once; nothing is started for it.
    call.setAutoStartService(false);
    QVariantMap platformData;
    const QString token = qEnvironmentVariable("XDG_ACTIVATION_TOKEN");
    if (!token.isEmpty()) platformData.insert(QStringLiteral("activation-token"), token);
    call << QStringList{FileUrl(file)} << platformData;
    return bus.call(call, QDBus::Block, kReplyMs).type() == QDBusMessage::ReplyMessage;
}

bool ServeApplicationBus(MainWindow* window, QDBusConnection bus) {
    if (!bus.isConnected()) return false;
    auto* object = new ApplicationBus(window);
    // The object first: whoever sees the name may call it at once.
    if (!bus.registerObject(kApplicationPath, object, QDBusConnection::ExportAllSlots) ||
        !bus.registerService(AppId())) {
        bus.unregisterObject(kApplicationPath);
        delete object;
        return false;
    }
    return true;
}

bool ServeApplicationBus(MainWindow* window) {
    return SessionBusNamed() && ServeApplicationBus(window, QDBusConnection::sessionBus());
}

ApplicationBus::ApplicationBus(MainWindow* window) : QObject(window), window_(window) {}

void ApplicationBus::Activate(const QVariantMap& platformData) {
    RaiseWindow(window_, platformData);
}

void ApplicationBus::Open(const QStringList& uris, const QVariantMap& platformData) {
    QString path;
    for (const QString& uri : uris) {
        path = LocalFile(QUrl(uri));
        if (!path.isEmpty()) break;
    }
    if (path.isEmpty()) {
        sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("No local file given."));
        return;
    }
    // The answer goes out when the window takes the file, not before: a program that ends
    // in between (Beenden was just answered) leaves the caller without an answer, and the
    // caller then opens its own window instead of believing the file was opened.
    setDelayedReply(true);
    QTimer::singleShot(
        0, window_, [window = window_, path, platformData, bus = connection(), call = message()] {
            // A dialog of the window is open (a job waits for the button, a question is asked): a
            // file that replaced the view now could mix with it.
            if (QApplication::activeModalWidget()) {
                bus.send(call.createErrorReply(QDBusError::Failed,
                                               QStringLiteral("The window has a dialog open.")));
                return;
            }
            bus.send(call.createReply());
            RaiseWindow(window, platformData);
            window->LoadConfigurationFile(path, LoadKind::CommandLine);
        });
}

void ApplicationBus::ActivateAction(const QString&, const QVariantList&, const QVariantMap&) {}
