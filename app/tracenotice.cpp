#include "app/tracenotice.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "config/messages.h"
#include "link/trace.h"
#include "resources/msg.h"

namespace {

// Often enough that the box follows the job's end at once for the eye.
constexpr int kRetryMs = 200;

// The trace fails in the middle of an exchange with the LPX; a box there would run a loop of its
// own inside the job. It waits until no job runs and no dialog is open.
void ShowWhenIdle(const QPointer<QWidget>& window, Messages* messages, const QString& text,
                  const std::function<bool()>& jobRunning) {
    if (!window) return;
    if (jobRunning() || QApplication::activeModalWidget()) {
        QTimer::singleShot(kRetryMs, window,
                           [=] { ShowWhenIdle(window, messages, text, jobRunning); });
        return;
    }
    messages->ShowMessage(BoxKind::Warning, Msg::TraceIncomplete, text, BoxButtons::Ok);
}

}  // namespace

void ReportTraceFailuresIn(QWidget* window, Messages& messages, std::function<bool()> jobRunning) {
    // Told on the thread that wrote the line (the job thread, mostly): the box waits for the
    // window's thread.
    SetTraceFailureNotice([window = QPointer<QWidget>(window), messages = &messages, jobRunning,
                           receiver = static_cast<QObject*>(window)](const QString& text) {
        QMetaObject::invokeMethod(
            receiver, [=] { ShowWhenIdle(window, messages, text, jobRunning); },
            Qt::QueuedConnection);
    });
}
