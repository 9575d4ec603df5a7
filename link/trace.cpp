#include "link/trace.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <cerrno>
#include <chrono>
#include <mutex>

#include "files/fileerrors.h"
#include "files/filewrite.h"
#include "resources/catalogue.h"
#include "resources/msg.h"

namespace {

struct TraceFile {
    int fd = -1;
    std::chrono::steady_clock::time_point start;
    QString path;
    QString incomplete;  // why the trace stops short; empty while it is whole
};

TraceFile& Trace() {
    static TraceFile trace;
    return trace;
}

// The jobs' thread and the window's thread both write into the one trace.
std::recursive_mutex& TraceMutex() {
    static std::recursive_mutex mutex;
    return mutex;
}

std::function<void(const QString&)>& FailureNotice() {
    static std::function<void(const QString&)> notice;
    return notice;
}

// The line with its time since the trace began; 0 or the errno value of the failed write.
int AppendLine(const TraceFile& trace, const QString& text, qint64* ms) {
    *ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                trace.start)
              .count();
    return WriteAllBytes(trace.fd, (QStringLiteral("%1 ").arg(*ms, 8) + text + '\n').toUtf8());
}

// A trace that cannot be written any more must not stop a job; it stops itself at the first
// line that does not fit, so the file ends where it was cut and not with a gap in the middle.
void WriteLine(const QString& text) {
    const std::lock_guard<std::recursive_mutex> lock(TraceMutex());
    TraceFile& trace = Trace();
    if (trace.fd < 0 || !trace.incomplete.isEmpty()) return;
    qint64 ms = 0;
    const int error = AppendLine(trace, text, &ms);
    if (error == 0) return;
    trace.incomplete =
        FillText(Msg::TraceIncomplete, {trace.path, QString::number(ms), FileErrorCause(error)});
    if (FailureNotice()) FailureNotice()(trace.incomplete);
}

}  // namespace

bool StartTrace(const QString& path, QString* error) {
    const std::lock_guard<std::recursive_mutex> lock(TraceMutex());
    StopTrace();
    // A file-size limit would otherwise end the program at the first line past it.
    IgnoreFileSizeSignal();
    int openError = 0;
    const int fd = OpenPrivateAppend(path, &openError);
    struct stat st {};
    // In a shared folder another user's file may well be writable for all; appended to, the
    // frames and codes of this user's devices would become theirs to read.
    if (fd >= 0 && (::fstat(fd, &st) != 0 || st.st_uid != ::geteuid())) {
        ::close(fd);
        openError = kForeignFile;
    }
    const TraceFile trace{fd, std::chrono::steady_clock::now(), path, QString()};
    qint64 ms = 0;
    if (openError == 0) {
        openError = AppendLine(
            trace, QStringLiteral("Mitschnitt begonnen (ms seit Beginn, Richtung, Bytes, ASCII)"),
            &ms);
        if (openError != 0) ::close(fd);
    }
    if (openError != 0) {
        if (error) *error = FillText(Msg::TraceOpenFailed, {path, FileErrorCause(openError)});
        return false;
    }
    Trace() = trace;
    return true;
}

void StopTrace() {
    const std::lock_guard<std::recursive_mutex> lock(TraceMutex());
    TraceFile& trace = Trace();
    if (trace.fd < 0) return;
    WriteLine(QStringLiteral("Mitschnitt beendet"));
    ::close(trace.fd);
    trace.fd = -1;
}

bool TraceRunning() {
    const std::lock_guard<std::recursive_mutex> lock(TraceMutex());
    return Trace().fd >= 0;
}

void SetTraceFailureNotice(std::function<void(const QString& text)> notice) {
    const std::lock_guard<std::recursive_mutex> lock(TraceMutex());
    FailureNotice() = std::move(notice);
}

QString TraceIncompleteText() {
    const std::lock_guard<std::recursive_mutex> lock(TraceMutex());
    return Trace().incomplete;
}

QString TraceFrameText(TraceDirection direction, const uint8_t* bytes, int count) {
    QString text = direction == TraceDirection::ToLpx ? QStringLiteral("->") : QStringLiteral("<-");
    if (count <= 0) return text + QStringLiteral(" (keine Antwort)");
    QString ascii;
    for (int i = 0; i < count; ++i) {
        text += QString::asprintf(" %02X", bytes[i]);
        ascii += bytes[i] >= 0x20 && bytes[i] < 0x7F ? QChar(bytes[i]) : QChar('.');
    }
    return text + QStringLiteral("  |") + ascii + '|';
}

void TraceFrame(TraceDirection direction, const uint8_t* bytes, int count) {
    if (TraceRunning()) WriteLine(TraceFrameText(direction, bytes, count));
}

void TraceNote(const QString& text) {
    WriteLine(QStringLiteral("== ") + text);
}
