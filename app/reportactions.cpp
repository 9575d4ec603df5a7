#include "app/reportactions.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QPointer>
#include <QPushButton>

#include "app/mainwindow.h"
#include "app/printing.h"
#include "app/prompts.h"
#include "files/fileerrors.h"
#include "files/filenames.h"
#include "files/filewrite.h"
#include "files/imagefile.h"
#include "jobs/devicejobs.h"
#include "record/journal.h"
#include "record/journalworker.h"
#include "report/reportpages.h"
#include "resources/catalogue.h"

namespace {

const char* const kPdfButton = "Als &PDF speichern...";
const char* const kPrintButton = "Dr&ucken...";
const char* const kCsvButton = "Als &CSV speichern...";

// The button's words, as a dialog's title: without the access key's mark and the dots.
QString Plain(const char* buttonText) {
    return QString::fromUtf8(buttonText).remove(QStringLiteral("...")).remove(QLatin1Char('&'));
}

}  // namespace

ReportActions::ReportActions(MainWindow& main, QWidget* parent, RangeSource range)
    : QObject(parent), main_(main), parent_(parent), range_(std::move(range)) {}

ReportActions::~ReportActions() = default;

void ReportActions::Collect(std::function<void(const Report&)> use) {
    const auto refuse = [this](const QString& text) {
        main_.prompts().ShowMessage(BoxKind::Error, 0, text, BoxButtons::Ok);
    };
    ReportRange range;
    QString rangeText;
    if (collecting_ || !range_(&range, &rangeText)) return;
    if (main_.Jobs().Record().path.isEmpty()) {
        refuse(
            QStringLiteral("Ohne Protokoll gibt es keinen Bericht: im Übungsmodus und "
                           "ohne Datenordner wird kein Gerätevorgang protokolliert."));
        emit Done();
        return;
    }
    // Until the report has been used, a press is ignored: the worker stays as long as its result
    // is being run.
    collecting_ = true;
    const QString status = main_.StatusText();
    main_.SetStatusText(QStringLiteral("Der Bericht wird aus dem Protokoll gelesen..."));
    worker_ = std::make_unique<JournalWorker>(main_.Jobs().Record().Target());
    worker_->Post([=](JournalWorker::Session& session) {
        auto report = std::make_shared<Report>();
        QString error;
        JournalReader* reader = session.Reader(&error);
        const bool read = reader && ReadReportLines(*reader, range, report.get(), &error);
        return [=] {
            main_.SetStatusText(status);
            if (!read) {
                refuse(error);
            } else if (report->lines.isEmpty()) {
                refuse(
                    QStringLiteral("Im Protokoll steht dafür kein Gerätevorgang; es gibt "
                                   "nichts zu berichten."));
            } else {
                // The LPX is asked on the job thread; while a job runs the header goes without.
                auto lpx = std::make_shared<QString>();
                const auto done = [=, self = QPointer<ReportActions>(this)] {
                    if (!self) return;
                    report->header = ReportHeaderHere(*lpx, rangeText);
                    report->header.site = range.site;
                    use(*report);
                    collecting_ = false;
                    emit Done();
                };
                if (!askLpxInfo ||
                    !main_.Jobs().Run([lpx](DeviceJobs& jobs) { *lpx = jobs.LpxInfoLine(); }, done))
                    done();
                return;
            }
            collecting_ = false;
            emit Done();
        };
    });
}

QString ReportActions::AskTarget(const QString& title, const QString& filter,
                                 const QString& extension) {
    Prompts& prompts = main_.prompts();
    FileDialogRequest request;
    request.title = title;
    request.filter = filter;
    request.fileName = QStringLiteral("Programmierprotokoll") + extension;
    request.startFolder = main_.defaultFolder;
    QString path = prompts.AskSaveFile(request);
    if (path.isEmpty()) return QString();
    if (ExtensionOf(path).isEmpty()) path += extension;
    // The save dialog leaves the question to the program, as for configuration files.
    if (PathExists(path) &&
        prompts.ShowMessage(
            BoxKind::Information, 0,
            QStringLiteral("Die Datei %1 gibt es schon. Soll sie ersetzt werden?").arg(path),
            BoxButtons::YesNo) != BoxAnswer::Yes)
        return QString();
    return path;
}

void ReportActions::Write(const QString& path, const QByteArray& data) {
    if (const int error = WriteFileSafely(path, data)) {
        main_.prompts().ShowMessage(
            BoxKind::Error, 0,
            WithCause(QStringLiteral("Die Datei %1 konnte nicht gespeichert werden.").arg(path),
                      FileErrorCause(error)),
            BoxButtons::Ok);
        return;
    }
    main_.SetStatusText(QStringLiteral("Gespeichert: %1").arg(path));
}

void ReportActions::SavePdf() {
    Collect([this](const Report& report) {
        const QString path = AskTarget(Plain(kPdfButton), QStringLiteral("PDF-Dateien|*.pdf"),
                                       QStringLiteral(".pdf"));
        if (path.isEmpty()) return;
        const QByteArray pdf = ReportPdf(report);
        if (pdf.isEmpty()) {
            main_.prompts().ShowMessage(BoxKind::Error, 0,
                                        QStringLiteral("Der Bericht konnte nicht gesetzt werden."),
                                        BoxButtons::Ok);
            return;
        }
        Write(path, pdf);
    });
}

void ReportActions::Print() {
    Collect([this](const Report& report) {
        PrintRequest request;
        request.parent = parent_;
        request.documentName = QStringLiteral("Programmierprotokoll");
        request.dialogTitle = Plain(kPrintButton);
        request.paint = [&report](QPagedPaintDevice& printer) {
            return PaintReport(report, printer);
        };
        QString error;
        switch (PrintThroughDialog(request, &error)) {
            case PrintOutcome::Printed:
                main_.SetStatusText(QStringLiteral("Bericht gedruckt."));
                break;
            case PrintOutcome::Cancelled:
                break;
            case PrintOutcome::PaintFailed:
                error = QStringLiteral("Der Bericht konnte nicht gedruckt werden.");
                [[fallthrough]];
            case PrintOutcome::Unavailable:
                main_.prompts().ShowMessage(BoxKind::Error, 0, error, BoxButtons::Ok);
                break;
        }
    });
}

void ReportActions::SaveCsv() {
    Collect([this](const Report& report) {
        const QString path = AskTarget(Plain(kCsvButton), QStringLiteral("CSV-Dateien|*.csv"),
                                       QStringLiteral(".csv"));
        if (!path.isEmpty()) Write(path, ReportCsv(report.lines));
    });
}

QWidget* ReportActions::ButtonRow() {
    auto* row = new QWidget;
    buttonRow_ = row;
    row->setObjectName(QStringLiteral("wgtReportButtons"));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch();
    const struct {
        const char* text;
        const char* name;
        void (ReportActions::*run)();
    } buttons[] = {{kPdfButton, "btnReportPdf", &ReportActions::SavePdf},
                   {kPrintButton, "btnReportPrint", &ReportActions::Print},
                   {kCsvButton, "btnReportCsv", &ReportActions::SaveCsv}};
    for (const auto& button : buttons) {
        auto* push = new QPushButton(QString::fromUtf8(button.text), row);
        push->setObjectName(QString::fromLatin1(button.name));
        QObject::connect(push, &QPushButton::clicked, this, button.run);
        layout->addWidget(push);
    }
    return row;
}

bool ReportActions::Recorded() const {
    return !main_.Jobs().Record().path.isEmpty();
}

void ReportActions::Offer(bool enabled) {
    if (!buttonRow_) return;
    // Practice jobs are not recorded: say why there is nothing to report, not fail on a press.
    buttonRow_->setEnabled(enabled && Recorded());
    for (QPushButton* button : buttonRow_->findChildren<QPushButton*>())
        button->setToolTip(Recorded() ? QString() : Text(Msg::ReportPractice));
}

ReportRange SeriesRange(const QDateTime& started, const QDateTime& ended) {
    ReportRange range;
    // The record counts in whole seconds.
    range.since = started.addMSecs(-started.time().msec());
    range.until = ended.addSecs(1);
    const QString login = LoginNameHere();
    const QString host = HostNameHere();
    range.keep = [login, host](const QStringList& fields) {
        return fields.value(ColProgram) ==
                   QLatin1String(JournalProgramWord(JournalProgram::Window)) &&
               fields.value(ColJob) == QLatin1String(JournalJobWord(JournalJob::Write)) &&
               fields.value(ColLoginName) == login && fields.value(ColHostName) == host;
    };
    return range;
}

QString SeriesRangeText(const QDateTime& started) {
    return QStringLiteral("Serie vom %1").arg(started.toString(QStringLiteral("dd.MM.yyyy HH:mm")));
}

QPushButton* ReportMenuButton(ReportActions& actions, QWidget* parent) {
    auto* button = new QPushButton(QStringLiteral("Be&richt..."), parent);
    button->setObjectName(QStringLiteral("btnJournalReport"));
    auto* menu = new QMenu(button);
    menu->setObjectName(QStringLiteral("mnuJournalReport"));
    QObject::connect(menu->addAction(QString::fromUtf8(kPdfButton)), &QAction::triggered, &actions,
                     &ReportActions::SavePdf);
    QObject::connect(menu->addAction(QString::fromUtf8(kPrintButton)), &QAction::triggered,
                     &actions, &ReportActions::Print);
    button->setMenu(menu);
    if (!actions.Recorded()) {
        button->setEnabled(false);
        button->setToolTip(Text(Msg::ReportPractice));
    }
    return button;
}
