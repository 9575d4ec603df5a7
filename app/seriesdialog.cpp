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

#include "app/mainwindow.h"
#include "app/prompts.h"
#include "link/codelist.h"
#include "link/jobguard.h"
#include "resources/catalogue.h"

namespace {

constexpr int kMaxDevices = 9999;

QWidget* Named(QWidget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

TfrmSeries::TfrmSeries(TfrmMain& main) : QDialog(&main), main_(main) {
    setObjectName(QStringLiteral("frmSeries"));
    setWindowTitle(Text(Msg::SeriesTitle));
    const QString file = main.WriteJournalFile();
    auto* configuration = new QLabel(
        FillText(Msg::SeriesConfiguration, {file.isEmpty() ? main.windowTitle() : file}));
    configuration->setWordWrap(true);

    edtCount = new QSpinBox;
    Named(edtCount, "edtCount");
    edtCount->setRange(0, kMaxDevices);
    edtCount->setSpecialValueText(Text(Msg::SeriesUntilStopped));
    cbVerify = new QCheckBox(Text(Msg::MenuCommVerifyAfterWrite));
    Named(cbVerify, "cbVerify");
    cbVerify->setChecked(main.Jobs().verifyAfterWrite);
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
    tblSummary = new QTableWidget(0, 5);
    Named(tblSummary, "tblSummary");
    tblSummary->setHorizontalHeaderLabels(
        {Text(Msg::SeriesColumnDevice), Text(Msg::JournalColumnCodeBefore),
         Text(Msg::JournalColumnCodeAfter), Text(Msg::JournalColumnOutcome),
         Text(Msg::SeriesColumnVerified)});
    tblSummary->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblSummary->horizontalHeader()->setStretchLastSection(true);
    lblSummary = new QLabel;
    Named(lblSummary, "lblSummary");

    auto* count = new QFormLayout;
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
    resize(560, 520);

    connect(btnStart, &QPushButton::clicked, this, &TfrmSeries::btnStartClick);
    connect(btnChooseList, &QPushButton::clicked, this, &TfrmSeries::btnChooseListClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    // Typing a list means using it.
    connect(edtCodeList, &QLineEdit::textEdited, this, [this] { rbCodeList->setChecked(true); });
}

void TfrmSeries::btnChooseListClick() {
    FileDialogRequest request;
    request.title = Text(Msg::SeriesCodesFromList).remove(QLatin1Char('&'));
    request.startFolder = main_.defaultFolder;
    const QString path = main_.prompts().AskOpenFile(request);
    if (path.isEmpty()) return;
    edtCodeList->setText(path);
    rbCodeList->setChecked(true);
}

void TfrmSeries::btnStartClick() {
    JobGuard guard(main_);
    if (!guard.Acquired()) return;
    SeriesPlan plan;
    plan.count = edtCount->value();
    plan.verify = cbVerify->isChecked();
    QString error;
    // A list that cannot be used is refused before the first press.
    if (rbCodeList->isChecked() &&
        !LoadCodeList(edtCodeList->text().trimmed(), &plan.codes, &error)) {
        main_.prompts().ShowMessage(BoxKind::Error, 0, error, BoxButtons::Ok);
        return;
    }
    lstReport->clear();
    tblSummary->setRowCount(0);
    btnStart->setEnabled(false);
    main_.Jobs().journalFile = main_.WriteJournalFile();
    Series series(main_.Jobs(), main_.Model(), *this, plan);
    series.Run();
    main_.SetSeriesProgress(QString());
    ShowSummary(series);
    btnStart->setEnabled(true);
}

void TfrmSeries::DeviceStarting(int number, int count) {
    const QString n = QString::number(number);
    main_.SetSeriesProgress(count > 0 ? FillText(Msg::SeriesDeviceOf, {n, QString::number(count)})
                                      : FillText(Msg::SeriesDevice, {n}));
}

bool TfrmSeries::GoOnWithLocalCodes(const QString& question) {
    return main_.prompts().ShowMessage(BoxKind::Information, Msg::SeriesAskLocalCodes, question,
                                       BoxButtons::YesNo) == BoxAnswer::Yes;
}

void TfrmSeries::SeriesLine(const QString& line) {
    lstReport->addItem(line);
    lstReport->scrollToBottom();
}

void TfrmSeries::ShowSummary(const Series& series) {
    const QList<SeriesDevice>& devices = series.Devices();
    tblSummary->setRowCount(static_cast<int>(devices.size()));
    for (int row = 0; row < devices.size(); ++row) {
        const SeriesDevice& device = devices[row];
        QString outcome = Text(Msg::SeriesOutcomeWritten);
        if (device.outcome == JournalOutcome::Aborted) outcome = QStringLiteral("abgebrochen");
        if (device.outcome == JournalOutcome::Failed)
            outcome =
                Text(Msg::SeriesOutcomeFailed) +
                (device.messageId ? QStringLiteral(" (%1)").arg(device.messageId) : QString());
        const QStringList cells = {
            QString::number(device.number), device.codeBefore, device.codeAfter, outcome,
            device.verifyOutcome.isEmpty() ? QStringLiteral("—") : device.verifyOutcome};
        for (int column = 0; column < cells.size(); ++column)
            tblSummary->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    tblSummary->resizeColumnsToContents();
    lblSummary->setText(series.SummaryLine());
}
