#include "app/seriesdialog.h"

#include <QAction>
#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <mutex>

#include "app/accesskeys.h"
#include "app/centring.h"
#include "app/keyboardreach.h"
#include "app/mainwindow.h"
#include "app/prompts.h"
#include "app/reportactions.h"
#include "app/sitefield.h"
#include "app/waitdialog.h"
#include "jobs/devicejobs.h"
#include "link/codelist.h"
#include "resources/catalogue.h"

namespace {

constexpr int kMaxDevices = 9999;

// What the series writes: the file, the template of a generation, or a device's configuration;
// with the edits made since, if any.
QString ConfigurationName(MainWindow& main) {
    QString name = main.WriteJournalFile();
    if (name.isEmpty() && main.configOrigin == OriginDevice)
        name = FillText(Msg::SeriesReadFromDevice, {main.Model().Text(Field::radioCode)});
    const ImageCell& version = main.fileImage.cells[Addr::FirmwareVersion];
    if (name.isEmpty() && version.mark == MarkNone) return main.windowTitle();  // no template
    if (name.isEmpty())
        name =
            FillText(Msg::SeriesTemplate, {ImageGeneration(version.value) == 1 ? "v1.x" : "v2.x"});
    return main.Model().IsDirty() ? FillText(Msg::SeriesEdited, {name}) : name;
}

QWidget* Named(QWidget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

// The series' calls come from the job thread: lines and device numbers reach the dialog as
// queued calls, its question is asked on the window's thread. Once the dialog is gone, they go
// nowhere.
class SeriesDialog::Relay : public SeriesHost {
  public:
    Relay(SeriesDialog* dialog, WindowJobs& jobs) : dialog_(dialog), jobs_(jobs) {}
    void Detach() {
        const std::lock_guard<std::mutex> lock(mutex_);
        dialog_ = nullptr;
    }
    void DeviceStarting(int number, int count, const QString& code) override {
        Post([=](SeriesDialog* dialog) { dialog->DeviceStarting(number, count, code); });
    }
    void SeriesLine(const QString& line) override {
        Post([=](SeriesDialog* dialog) { dialog->SeriesLine(line); });
    }
    bool GoOnWithLocalCodes(const QString& question) override {
        bool yes = false;
        jobs_.CallOnWindow([&] {
            const std::lock_guard<std::mutex> lock(mutex_);
            yes = dialog_ && dialog_->GoOnWithLocalCodes(question);
        });
        return yes;
    }

  private:
    void Post(std::function<void(SeriesDialog*)> call) {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!dialog_) return;
        QMetaObject::invokeMethod(
            dialog_, [dialog = dialog_, call] { call(dialog); }, Qt::QueuedConnection);
    }
    std::mutex mutex_;
    SeriesDialog* dialog_;
    WindowJobs& jobs_;
};

SeriesDialog::~SeriesDialog() {
    relay_->Detach();
    // A series that still runs (its window closed) stops at its next wait.
    if (main_.Jobs().Running()) main_.Jobs().Abort();
}

SeriesDialog::SeriesDialog(MainWindow& main)
    : QDialog(&main), main_(main), relay_(std::make_shared<Relay>(this, main.Jobs())) {
    setObjectName(QStringLiteral("frmSeries"));
    setWindowTitle(Text(Msg::SeriesTitle));
    auto* configuration = new QLabel(FillText(Msg::SeriesConfiguration, {ConfigurationName(main)}));
    configuration->setObjectName(QStringLiteral("lblConfiguration"));
    configuration->setWordWrap(true);

    edtCount = new QSpinBox;
    Named(edtCount, "edtCount");
    edtCount->setRange(0, kMaxDevices);
    edtCount->setSpecialValueText(Text(Msg::SeriesUntilStopped));
    cbVerify = new QCheckBox(Text(Msg::MenuCommVerifyAfterWrite));
    Named(cbVerify, "cbVerify");
    cbVerify->setChecked(main.VerifyAfterWrite());
    rbKeepCodes = new QRadioButton(Text(Msg::SeriesKeepCodes));
    Named(rbKeepCodes, "rbKeepCodes");
    rbKeepCodes->setChecked(true);
    rbCodeList = new QRadioButton(Text(Msg::SeriesCodesFromList));
    Named(rbCodeList, "rbCodeList");
    edtCodeList = new QLineEdit;
    Named(edtCodeList, "edtCodeList");
    btnChooseList = new QPushButton(Text(Msg::SeriesChooseList));
    Named(btnChooseList, "btnChooseList");
    btnStart = new QPushButton(Text(Msg::SeriesStart));
    Named(btnStart, "btnStart");
    btnStart->setDefault(true);
    btnClose = new QPushButton(QString::fromUtf8(ToolkitText::Close));
    Named(btnClose, "btnClose");

    lstReport = new QListWidget;
    Named(lstReport, "lstReport");
    lstReport->setAccessibleName(QStringLiteral("Verlauf der Serie"));
    tblSummary = new QTableWidget(0, 5);
    Named(tblSummary, "tblSummary");
    tblSummary->setAccessibleName(QStringLiteral("Ergebnis je Gerät"));
    tblSummary->setHorizontalHeaderLabels(
        {Text(Msg::SeriesColumnDevice), Text(Msg::JournalColumnCodeBefore),
         Text(Msg::JournalColumnCodeAfter), Text(Msg::JournalColumnOutcome),
         Text(Msg::SeriesColumnVerified)});
    tblSummary->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LetTabLeave(tblSummary);
    tblSummary->horizontalHeader()->setStretchLastSection(true);
    // The headers are read before the first result: as wide as their texts.
    tblSummary->resizeColumnsToContents();
    lblSummary = new QLabel;
    Named(lblSummary, "lblSummary");
    NameControl(edtCodeList, Text(Msg::SeriesCodesFromList),
                QStringLiteral("Pfad der Datei oder Bereich"));

    cbSeriesSite = new SiteField(main, this);
    Named(cbSeriesSite, "cbSeriesSite");
    auto* count = new QFormLayout;
    count->addRow(Text(Msg::SiteLabel), cbSeriesSite);
    count->addRow(Text(Msg::SeriesCountLabel), edtCount);
    auto* list = new QHBoxLayout;
    list->addWidget(edtCodeList);
    list->addWidget(btnChooseList);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnStart);
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(configuration);
    layout->addLayout(count);
    layout->addWidget(cbVerify);
    layout->addWidget(rbKeepCodes);
    layout->addWidget(rbCodeList);
    layout->addLayout(list);
    layout->addLayout(buttons);
    layout->addWidget(lstReport);
    layout->addWidget(tblSummary);
    layout->addWidget(lblSummary);
    seriesReport = new ReportActions(main, this, [this](ReportRange* range, QString* text) {
        if (!seriesStarted_.isValid()) return false;
        *range = SeriesRange(seriesStarted_, seriesEnded_);
        *text = SeriesRangeText(seriesStarted_);
        return true;
    });
    seriesReport->askLpxInfo = true;
    layout->addWidget(seriesReport->ButtonRow());
    seriesReport->Offer(false);
    resize(560, 520);
    BoundToScreen(this);

    connect(btnStart, &QPushButton::clicked, this, &SeriesDialog::onStartClicked);
    connect(btnChooseList, &QPushButton::clicked, this, &SeriesDialog::onChooseListClicked);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    // Typing a list means using it.
    connect(edtCodeList, &QLineEdit::textEdited, this, [this] { rbCodeList->setChecked(true); });
}

void SeriesDialog::onChooseListClicked() {
    FileDialogRequest request;
    request.title = Text(Msg::SeriesCodesFromList).remove(QLatin1Char('&'));
    request.startFolder = main_.defaultFolder;
    const QString path = main_.prompts().AskOpenFile(request);
    if (path.isEmpty()) return;
    edtCodeList->setText(path);
    rbCodeList->setChecked(true);
}

void SeriesDialog::onStartClicked() {
    if (main_.Jobs().Running()) return;
    SeriesPlan plan;
    plan.count = edtCount->value();
    plan.verify = cbVerify->isChecked();
    QString error;
    // A list that cannot be used is refused before the first press.
    if (rbCodeList->isChecked() &&
        !LoadCodeList(edtCodeList->text().trimmed(), &plan.codes, &error, &plan.rooms)) {
        main_.prompts().ShowMessage(BoxKind::Error, 0, error, BoxButtons::Ok);
        return;
    }
    // Said before the first press, not when the list runs out in the middle of the round.
    if (!plan.codes.isEmpty() && plan.count > plan.codes.size() &&
        main_.prompts().ShowMessage(
            BoxKind::Confirmation, Msg::SeriesListShorterThanCount,
            FillText(Msg::SeriesListShorterThanCount,
                     {QString::number(plan.codes.size()), QString::number(plan.count)}),
            BoxButtons::YesNo) != BoxAnswer::Yes)
        return;
    rooms_ = plan.rooms;
    main_.SetSite(cbSeriesSite->currentText());
    lstReport->clear();
    tblSummary->setRowCount(0);
    btnStart->setEnabled(false);
    WriteRequest write;
    write.file = main_.WriteJournalFile();
    seriesStarted_ = QDateTime::currentDateTime();
    auto end = std::make_shared<SeriesEnd>(SeriesEnd::Complete);
    auto series = std::make_shared<std::unique_ptr<Series>>();
    const WriteRequest request = WriteRequestOf(main_.Model(), write);
    main_.Jobs().Run(
        [series, end, relay = relay_, plan, request](DeviceJobs& jobs) {
            *series = std::make_unique<Series>(jobs, *relay, plan, request);
            *end = (*series)->Run();
        },
        [this, series, end] {
            series_ = std::move(*series);
            SeriesEnded(*end);
        },
        true);
}

void SeriesDialog::SeriesEnded(SeriesEnd) {
    seriesEnded_ = QDateTime::currentDateTime();
    seriesReport->Offer(true);
    main_.SetSeriesProgress(QString());
    if (main_.frmReceiveRadio) {
        main_.frmReceiveRadio->SetSeriesCode(QString());
        main_.frmReceiveRadio->SetLastResult(QString());
    }
    ShowSummary(*series_);
    btnStart->setEnabled(true);
    if (closeWhenEnded_) QDialog::reject();
}

void SeriesDialog::reject() {
    if (!main_.Jobs().Running()) {
        QDialog::reject();
        return;
    }
    closeWhenEnded_ = true;
    main_.Jobs().Abort();
}

void SeriesDialog::DeviceStarting(int number, int count, const QString& code) {
    const QString n = QString::number(number);
    main_.SetSeriesProgress(count > 0 ? FillText(Msg::SeriesDeviceOf, {n, QString::number(count)})
                                      : FillText(Msg::SeriesDevice, {n}));
    // The code the device is about to get stands large in the wait, to be written on it.
    if (main_.frmReceiveRadio)
        main_.frmReceiveRadio->SetSeriesCode(code, rooms_.value(code.toUpper()));
}

bool SeriesDialog::GoOnWithLocalCodes(const QString& question) {
    return main_.prompts().ShowMessage(BoxKind::Information, Msg::SeriesAskLocalCodes, question,
                                       BoxButtons::YesNo) == BoxAnswer::Yes;
}

void SeriesDialog::SeriesLine(const QString& line) {
    lstReport->addItem(line);
    lstReport->scrollToBottom();
    // The wait for the next device tells it first.
    if (main_.frmReceiveRadio) main_.frmReceiveRadio->SetLastResult(line);
}

void SeriesDialog::ShowSummary(const Series& series) {
    const QList<SeriesDevice>& devices = series.Devices();
    tblSummary->setRowCount(static_cast<int>(devices.size()));
    for (int row = 0; row < devices.size(); ++row) {
        const JournalEntry line = JournalEntryOf(devices[row].outcome, JournalProgram::Window, {});
        QString outcome = Text(Msg::SeriesOutcomeWritten);
        if (line.outcome == JournalOutcome::Aborted) outcome = QStringLiteral("abgebrochen");
        if (line.outcome == JournalOutcome::Failed)
            outcome = Text(Msg::SeriesOutcomeFailed) +
                      (line.messageId ? QStringLiteral(" (%1)").arg(line.messageId) : QString());
        const QStringList cells = {
            QString::number(devices[row].number), line.codeBefore, line.codeAfter, outcome,
            line.verifyOutcome.isEmpty() ? QStringLiteral("—") : line.verifyOutcome};
        for (int column = 0; column < cells.size(); ++column)
            tblSummary->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    tblSummary->resizeColumnsToContents();
    AnnounceResult(lblSummary, series.SummaryLine());
}
