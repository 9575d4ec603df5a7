#include "app/journalview.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSaveFile>
#include <QTableView>
#include <QVBoxLayout>

#include "app/centring.h"
#include "app/journalmodel.h"
#include "app/keyboardreach.h"
#include "app/mainwindow.h"
#include "app/prompts.h"
#include "app/reportactions.h"
#include "files/fileerrors.h"
#include "files/imagefile.h"
#include "files/startupsteps.h"
#include "record/journal.h"
#include "record/journallisting.h"
#include "record/journalworker.h"
#include "resources/catalogue.h"
#include "resources/msg.h"

namespace {

// The first day a date field offers stands for "no bound": it shows as a dash.
const QDate kNoBound(2000, 1, 1);

QDateEdit* DateBound(QWidget* parent, const char* name) {
    auto* edit = new TabLeavingDateEdit(parent);
    edit->setObjectName(name);
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    edit->setMinimumDate(kNoBound);
    edit->setSpecialValueText(QStringLiteral("–"));
    edit->setDate(kNoBound);
    return edit;
}

// A label and its field, side by side.
void AddLabelled(QHBoxLayout* row, QWidget* parent, int textId, QWidget* field) {
    auto* label = new QLabel(Text(textId), parent);
    label->setBuddy(field);
    row->addWidget(label);
    row->addWidget(field);
}

}  // namespace

JournalWindow::JournalWindow(const JournalTarget& target, QWidget* parent, Prompts* prompts,
                             bool practiceMode)
    : QDialog(parent), worker_(std::make_unique<JournalWorker>(target)), prompts_(prompts) {
    setObjectName("frmJournal");
    setWindowTitle(Text(Msg::JournalTitle));
    // With its frame within a 1280x720 screen at 150 % (853x480).
    resize(820, 400);
    edtJournalDevice = new QLineEdit(this);
    edtJournalDevice->setObjectName("edtJournalDevice");
    edtJournalDevice->setMaxLength(4);
    // Any part of a code narrows the table; what is no hexadecimal digit cannot be typed.
    edtJournalDevice->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9A-Fa-f]{0,4}")), edtJournalDevice));
    edtJournalSite = new QLineEdit(this);
    edtJournalSite->setObjectName("edtJournalSite");
    edtJournalSite->setPlaceholderText(Text(Msg::SitePlaceholder));
    edtJournalFrom = DateBound(this, "edtJournalFrom");
    edtJournalUntil = DateBound(this, "edtJournalUntil");
    model_ = new JournalModel(*worker_, this);
    tblJournal = new QTableView(this);
    tblJournal->setObjectName("tblJournal");
    tblJournal->setAccessibleName(QStringLiteral("Protokollzeilen"));
    tblJournal->setModel(model_);
    tblJournal->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblJournal->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblJournal->setSelectionMode(QAbstractItemView::SingleSelection);
    tblJournal->verticalHeader()->setVisible(false);
    LetTabLeave(tblJournal);
    // What happened where comes first; the file, the hashes and who made the line after.
    const int first[] = {ColTime, ColJob,     ColCodeBefore, ColCodeAfter,
                         ColRoom, ColOutcome, ColSite};
    for (int place = 0; place < int(std::size(first)); ++place)
        tblJournal->horizontalHeader()->moveSection(
            tblJournal->horizontalHeader()->visualIndex(first[place]), place);
    lblJournalLines = new QLabel(this);
    lblJournalLines->setObjectName("lblJournalLines");
    // It also holds why the record could not be read, which can be long.
    lblJournalLines->setWordWrap(true);
    lblJournalPractice = new QLabel(Text(Msg::JournalPracticeNotRecorded), this);
    lblJournalPractice->setObjectName("lblJournalPractice");
    lblJournalPractice->setVisible(practiceMode);
    boxJournalButtons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    boxJournalButtons->button(QDialogButtonBox::Close)->setText(ToolkitText::Close);
    boxJournalButtons->button(QDialogButtonBox::Close)->setObjectName("btnJournalClose");
    btnJournalOpen = boxJournalButtons->addButton(Text(Msg::JournalOpenConfiguration),
                                                  QDialogButtonBox::ActionRole);
    btnJournalOpen->setObjectName("btnJournalOpen");
    btnJournalExport =
        boxJournalButtons->addButton(Text(Msg::JournalExport), QDialogButtonBox::ActionRole);
    btnJournalExport->setObjectName("btnJournalExport");
    btnJournalExport->setEnabled(prompts_ != nullptr);
    // The report of the lines the filter shows.
    if (auto* main = qobject_cast<MainWindow*>(parent)) {
        auto* report = new ReportActions(*main, this, [this](ReportRange* range, QString* text) {
            const JournalFilter filter = Filter();
            const QString part = filter.device.toUpper();
            range->device = part;
            range->site = filter.site;
            range->since = filter.since;
            if (filter.until.isValid()) range->until = filter.until.addSecs(1);
            *text = part.isEmpty() ? QStringLiteral("alle Gerätevorgänge im Protokoll")
                                   : QStringLiteral("Gerät %1").arg(part);
            return true;
        });
        btnJournalReport = ReportMenuButton(*report, this);
        boxJournalButtons->addButton(btnJournalReport, QDialogButtonBox::ActionRole);
    }
    // The box handed the focus that Tab brought to it on to its first button, so that Tab from
    // its last but one button went back to the first one: Tab goes to each button itself.
    boxJournalButtons->setFocusProxy(nullptr);
    boxJournalButtons->setFocusPolicy(Qt::NoFocus);
    connect(boxJournalButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(btnJournalOpen, &QPushButton::clicked, this, &JournalWindow::OpenChosenLine);
    connect(btnJournalExport, &QPushButton::clicked, this, &JournalWindow::ExportShownLines);
    connect(tblJournal, &QTableView::doubleClicked, this, &JournalWindow::OpenChosenLine);
    connect(tblJournal->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &JournalWindow::UpdateButtons);
    connect(model_, &JournalModel::Loaded, this, &JournalWindow::LinesLoaded);
    connect(edtJournalDevice, &QLineEdit::textChanged, this, &JournalWindow::Refresh);
    connect(edtJournalSite, &QLineEdit::editingFinished, this, &JournalWindow::Refresh);
    connect(edtJournalFrom, &QDateEdit::dateChanged, this, &JournalWindow::Refresh);
    connect(edtJournalUntil, &QDateEdit::dateChanged, this, &JournalWindow::Refresh);
    auto* filter = new QHBoxLayout;
    AddLabelled(filter, this, Msg::JournalDeviceFilter, edtJournalDevice);
    AddLabelled(filter, this, Msg::JournalSiteFilter, edtJournalSite);
    AddLabelled(filter, this, Msg::JournalFrom, edtJournalFrom);
    AddLabelled(filter, this, Msg::JournalUntil, edtJournalUntil);
    filter->addStretch();
    auto* info = new QHBoxLayout;
    info->addWidget(lblJournalLines, 1);
    info->addWidget(lblJournalPractice);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filter);
    layout->addWidget(tblJournal);
    layout->addLayout(info);
    layout->addWidget(boxJournalButtons);
    BoundToScreen(this);
    Refresh();
}

JournalWindow::~JournalWindow() {
    // A server still being waited for is given up at once; nothing more reaches the dialog.
    worker_.reset();
}

JournalFilter JournalWindow::Filter() const {
    JournalFilter filter;
    filter.device = edtJournalDevice->text();
    filter.site = edtJournalSite->text().simplified();
    if (edtJournalFrom->date() != kNoBound) filter.since = edtJournalFrom->date().startOfDay();
    if (edtJournalUntil->date() != kNoBound)
        filter.until = edtJournalUntil->date().addDays(1).startOfDay().addSecs(-1);
    return filter;
}

void JournalWindow::Refresh() {
    model_->Show(Filter());
    lblJournalLines->setText(Text(Msg::JournalLoading));
    UpdateButtons();
}

void JournalWindow::LinesLoaded(const QString& error) {
    if (error.isEmpty()) {
        tblJournal->resizeColumnsToContents();
        lblJournalLines->setText(
            FillText(Msg::JournalLineCount, {QString::number(model_->MatchingLines())}));
    } else {
        lblJournalLines->setText(error);
    }
    UpdateButtons();
    emit Read(error);
}

bool JournalWindow::Busy() const {
    return busy_ > 0 || model_->Loading();
}

void JournalWindow::BeginReading(const QString& text) {
    ++busy_;
    lblJournalLines->setText(text);
    UpdateButtons();
}

void JournalWindow::EndReading(const QString& error, const QString& text) {
    --busy_;
    lblJournalLines->setText(error.isEmpty() ? text : error);
    UpdateButtons();
    emit Read(error);
}

void JournalWindow::UpdateButtons() {
    const QModelIndex current = tblJournal->currentIndex();
    btnJournalOpen->setEnabled(!Busy() && current.isValid() && model_->HasImage(current.row()));
    btnJournalExport->setEnabled(!Busy() && prompts_ != nullptr);
}

void JournalWindow::OpenChosenLine() {
    const QModelIndex current = tblJournal->currentIndex();
    if (Busy() || !current.isValid()) return;
    const int row = current.row();
    const qint64 id = model_->LineId(row);
    const QStringList line{model_->ShownTime(row), model_->Field(row, ColCodeAfter)};
    const QString shown = lblJournalLines->text();
    BeginReading(Text(Msg::JournalLoading));
    worker_->Post([this, id, line, shown](JournalWorker::Session& session) {
        QString error;
        QByteArray image;
        if (JournalReader* reader = session.Reader(&error)) image = reader->ImageOfLine(id);
        return [this, image, line, shown, error] {
            EndReading(error, shown);
            if (image.size() != kImageSize) return;
            chosenImage = image;
            chosenLine = line;
            accept();
        };
    });
}

// The lines the filter lets through, all of them (not only those scrolled into view), as the
// guarded CSV that korbi-cli journal --csv writes. The file is written whole or not at all.
void JournalWindow::ExportShownLines() {
    if (Busy()) return;
    QString path = prompts_->AskSaveFile({Text(Msg::JournalExportTitle),
                                          Text(Msg::JournalExportFilter) + "|*.csv",
                                          QStringLiteral("Protokoll.csv"), QString()});
    if (path.isEmpty()) return;
    if (!QFileInfo(path).fileName().contains('.')) path += QStringLiteral(".csv");
    // The dialog's own question saw the name before ".csv" was added: the file written is asked
    // about here, under the name it has.
    if (PathExists(path) && AskQuestion(*prompts_, Msg::JournalExportReplace, {path},
                                        BoxButtons::YesNo) != BoxAnswer::Yes)
        return;
    BeginReading(Text(Msg::JournalExporting));
    worker_->Post([this, path, filter = Filter()](JournalWorker::Session& session) {
        QSaveFile file(path);
        QString error;
        qint64 lines = 0;
        JournalReader* reader = session.Reader(&error);
        bool ok = reader && file.open(QIODevice::WriteOnly) && reader->Select(filter, &error);
        std::string block;
        AppendCsvHeader(block, true);
        const auto writeBlock = [&file, &block] {
            const bool written =
                file.write(block.data(), qint64(block.size())) == qint64(block.size());
            block.clear();
            return written;
        };
        while (ok && !session.Stopping() && reader->NextLine(&error)) {
            AppendCsvLine(block, *reader, true);
            ++lines;
            if (block.size() >= 64 * 1024) ok = writeBlock();
        }
        ok = ok && !session.Stopping() && error.isEmpty() && writeBlock() && file.commit();
        const int cause = ok || file.error() == QFileDevice::NoError ? 0 : errno;
        if (!ok) file.cancelWriting();
        return std::function<void()>([this, ok, cause, error, path, lines] {
            if (ok) {
                EndReading(QString(),
                           FillText(Msg::JournalExported, {QString::number(lines), path}));
                return;
            }
            const QString text = FillText(Msg::JournalExportFailed, {path});
            EndReading(text, QString());
            ErrorBox(*prompts_, Msg::JournalExportFailed, {path},
                     error.isEmpty() ? FileErrorCause(cause) : error);
        });
    });
}

void MainWindow::onShowJournalTriggered() {
    if (applicationDataFolder.isEmpty()) {
        const QString common = environment().commonDataFolder;
        int error = 0;
        FindApplicationDataFolder(common, &error);
        ErrorBox(Msg::DataFolderUnusable,
                 {ApplicationDataFolderPath(common), FileErrorCause(error)});
        return;
    }
    const JournalTarget target{JournalPath(applicationDataFolder), Jobs().Record().server};
    // The dialog opens at once and reads the record meanwhile; a journal that cannot be read
    // says so in it, with its cause.
    JournalWindow dialog(target, this, &prompts(), env_.practiceMode);
    if (dialog.exec() != QDialog::Accepted || dialog.chosenImage.isEmpty()) return;
    // Opening a line replaces the shown configuration, as opening a file does.
    if (!ConfirmLosingEdits()) return;
    ShowJournalImage(dialog.chosenImage, dialog.chosenLine);
}

void MainWindow::ShowJournalImage(const QByteArray& image, const QStringList& line) {
    ImageBytes bytes{};
    std::copy(image.cbegin(), image.cend(), bytes.begin());
    files_.ShowDeviceBytes(bytes, FillText(Msg::JournalConfigurationLoaded, line));
    // The title names the line, not a read that did not happen.
    SetCaption(FillText(Msg::JournalLineCaption, {line.value(1), line.value(0)}) + " - " +
               Text(Msg::ProgramName));
}
