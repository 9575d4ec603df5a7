// korbi-cli report: the programming report of a range of the record as a PDF file, written as a
// new file and never over one.

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QGuiApplication>
#include <type_traits>

#include "cli/configuration.h"
#include "cli/context.h"
#include "files/fileerrors.h"
#include "files/filenames.h"
#include "files/fileplace.h"
#include "files/filewrite.h"
#include "files/imagefile.h"
#include "report/reportjournal.h"
#include "report/reportlines.h"
#include "report/reportpages.h"

namespace {

int Refused(const QString& text) {
    PrintProblem(text);
    return ExitUsage;
}

// What the report covers, in words for its header.
QString RangeText(const CliOptions& options) {
    QStringList parts;
    if (options.given & OptSite) parts << QStringLiteral("Objekt %1").arg(options.site.trimmed());
    if (options.given & OptDevice)
        parts << QStringLiteral("Gerät %1").arg(options.device.toUpper());
    if (options.given & OptSince) parts << QStringLiteral("ab %1").arg(options.since);
    if (options.given & OptUntil) parts << QStringLiteral("bis %1").arg(options.until);
    return parts.isEmpty() ? QStringLiteral("alle Gerätevorgänge im Protokoll") : parts.join(", ");
}

bool ReadRange(const CliOptions& options, ReportRange* range, JournalFilter* filter) {
    if (!ReadJournalFilter(options, filter)) return false;
    const JournalFilter& given = *filter;
    range->device = given.device;
    range->site = given.site;
    range->since = given.since;
    // The filter's end is the range's last second; the range ends after it.
    if (given.until.isValid()) range->until = given.until.addSecs(1);
    return true;
}

// The PDF's file, checked before the record is read: ".pdf" is added to a name without an
// extension, and nothing may stand at the name.
int ReportTarget(const QString& name, QString* target, FilePlace& place) {
    *target = ExtensionOf(name).isEmpty() ? name + QStringLiteral(".pdf") : name;
    if (PathExists(*target)) return AlreadyThere(*target);
    int error = ResolveFilePlace(*target, place);
    if (!error && place.exists) return AlreadyThere(*target);
    if (!error && faccessat(place.folder, ".", W_OK | X_OK, AT_EACCESS) != 0) error = errno;
    if (!error) return ExitDone;
    return Refused(
        WithCause(QStringLiteral("Der Bericht kann nicht als %1 gespeichert werden.").arg(*target),
                  FileErrorCause(error)));
}

}  // namespace

// The report module's entry. Only the report draws pages, and fonts need the graphical side of
// Qt: on the offscreen platform, so that it also runs without a display.
extern "C" Q_DECL_EXPORT int KorbiCliModuleMain(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return RunCli(argc, argv);
}
static_assert(std::is_same_v<decltype(&KorbiCliModuleMain), CliModuleMain>);

int RunReport(const CliContext& context) {
    const CliOptions& options = context.options;
    if (!(options.given & OptOutput))
        return Refused(QStringLiteral("report braucht -o DATEI, die PDF-Datei des Berichts."));
    ReportRange range;
    JournalFilter filter;
    if (!ReadRange(options, &range, &filter)) return ExitUsage;
    QString target;
    FilePlace place;
    if (const int status = ReportTarget(options.output, &target, place)) return status;

    JournalReader reader;
    QString error;
    QString warning;
    const bool opened = reader.Open(CliJournalTarget(context), &error, &warning);
    if (!warning.isEmpty()) PrintError(warning + '\n');
    const qint64 lines = opened ? reader.Count(filter, &error) : -1;
    if (lines < 0) return Refused(error);
    if (lines == 0) {
        const bool whole = !(options.given & (OptDevice | OptSince | OptUntil | OptSite));
        PrintError(QStringLiteral("korbi-cli: ") +
                   (whole ? QStringLiteral("Das Protokoll enthält noch keinen Gerätevorgang")
                          : QStringLiteral("Im gewählten Bereich (%1) steht kein Gerätevorgang "
                                           "im Protokoll")
                                .arg(RangeText(options))) +
                   QStringLiteral("; es wurde kein Bericht geschrieben.\n"));
        return ExitFailed;
    }
    ReportHeader header = ReportHeaderHere(QString(), RangeText(options));
    header.site = range.site;
    // The pages go to the file as they are set: a report of any length needs a page's memory.
    RecordReportLines source(reader, range);
    int pages = 0;
    const int writeError = WriteNewFileFrom(place, place.name, [&](int fd) {
        QFile file;
        if (!file.open(fd, QIODevice::WriteOnly)) return EIO;
        pages = WriteReportPdf(header, source, file, &error);
        if (pages == 0) return ECANCELED;
        return file.flush() && file.error() == QFileDevice::NoError ? 0 : EIO;
    });
    if (writeError == ECANCELED) return Refused(error);
    // Never over anything, also not over a file that appeared since the check.
    if (writeError) {
        if (writeError == EEXIST) return AlreadyThere(target);
        return Refused(WithCause(QStringLiteral("Der Bericht konnte nicht als %1 gespeichert "
                                                "werden.")
                                     .arg(target),
                                 FileErrorCause(writeError)));
    }
    PrintError(QStringLiteral("Bericht gespeichert: %1 (%2 %3, %4 Gerätevorgänge)\n")
                   .arg(target)
                   .arg(pages)
                   .arg(pages == 1 ? QStringLiteral("Seite") : QStringLiteral("Seiten"))
                   .arg(lines));
    return ExitDone;
}
