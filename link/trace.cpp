#include "link/trace.h"

#include <unistd.h>

#include <QByteArray>
#include <cerrno>
#include <chrono>

#include "files/fileerrors.h"
#include "files/filewrite.h"
#include "resources/catalogue.h"
#include "resources/msg.h"

namespace {

struct TraceFile {
    int fd = -1;
    std::chrono::steady_clock::time_point start;
};

TraceFile& Trace() {
    static TraceFile trace;
    return trace;
}

// A trace that cannot be written any more must not stop a job: the line is dropped.
void WriteLine(const QString& text) {
    TraceFile& trace = Trace();
    if (trace.fd < 0) return;
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - trace.start)
                        .count();
    WriteAllBytes(trace.fd, (QStringLiteral("%1 ").arg(ms, 8) + text + '\n').toUtf8());
}

}  // namespace

bool StartTrace(const QString& path, QString* error) {
    StopTrace();
    int openError = 0;
    const int fd = OpenPrivateAppend(path, &openError);
    if (fd < 0) {
        if (error) *error = FillText(Msg::TraceOpenFailed, {path, FileErrorCause(openError)});
        return false;
    }
    Trace() = {fd, std::chrono::steady_clock::now()};
    WriteLine(QStringLiteral("Mitschnitt begonnen (ms seit Beginn, Richtung, Bytes, ASCII)"));
    return true;
}

void StopTrace() {
    TraceFile& trace = Trace();
    if (trace.fd < 0) return;
    WriteLine(QStringLiteral("Mitschnitt beendet"));
    ::close(trace.fd);
    trace.fd = -1;
}

bool TraceRunning() {
    return Trace().fd >= 0;
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
