#include "app/jobfeedback.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QTimer>
#include <QVariantMap>
#include <QWidget>

#include "app/prompts.h"
#include "resources/catalogue.h"

namespace {

const char* const kService = "org.freedesktop.Notifications";
constexpr int kSecondBeepMs = 250;  // two beeps in one go would sound as one
constexpr int kNotificationMs = 8000;

}  // namespace

BoxAnswer JobFeedback::ShowMessage(BoxKind kind, int textId, const QString& text,
                                   BoxButtons buttons) {
    // Said before the box opens: the box waits for the user, the sound should not.
    if (kind == BoxKind::Error) Ended(false, text);
    if (textId == Msg::CodeChanged) Ended(true, text);
    return forward_->ShowMessage(kind, textId, text, buttons);
}

void JobFeedback::Ended(bool success, const QString& text) {
    QApplication::beep();
    if (!success) QTimer::singleShot(kSecondBeepMs, qApp, [] { QApplication::beep(); });
    if (window_ && !window_->isActiveWindow()) NotifyDesktop(Text(Msg::ProgramName), text);
}

bool NotifyDesktop(const QString& summary, const QString& body) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface() ||
        !bus.interface()->isServiceRegistered(QString::fromLatin1(kService)).value())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, "/org/freedesktop/Notifications",
                                                       kService, "Notify");
    call << QStringLiteral("korbi-programmer") << 0u << QStringLiteral("korbi-programmer")
         << summary << body << QStringList() << QVariantMap() << kNotificationMs;
    // No answer is awaited: a slow notification daemon must not hold up the window.
    return bus.send(call);
}
