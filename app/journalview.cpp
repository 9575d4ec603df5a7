#include "app/journalview.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "app/journalmodel.h"
#include "app/mainwindow.h"
#include "app/prompts.h"
#include "app/reportactions.h"
#include "files/fileerrors.h"
#include "files/journal.h"
#include "files/startupsteps.h"
#include "resources/catalogue.h"
#include "resources/msg.h"

TfrmJournal::TfrmJournal(JournalReader reader, QWidget* parent)
    : QDialog(parent), reader_(std::move(reader)) {
    setObjectName("frmJournal");
    setWindowTitle(Text(Msg::JournalTitle));
    resize(900, 420);
    auto* label = new QLabel(Text(Msg::JournalDeviceFilter), this);
    edtJournalDevice = new QLineEdit(this);
    edtJournalDevice->setObjectName("edtJournalDevice");
    edtJournalDevice->setMaxLength(4);
    label->setBuddy(edtJournalDevice);
    model_ = new JournalModel(reader_, this);
    tblJournal = new QTableView(this);
    tblJournal->setObjectName("tblJournal");
    tblJournal->setModel(model_);
    tblJournal->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblJournal->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblJournal->setSelectionMode(QAbstractItemView::SingleSelection);
    tblJournal->verticalHeader()->setVisible(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(ToolkitText::Close);
    btnJournalOpen =
        buttons->addButton(Text(Msg::JournalOpenConfiguration), QDialogButtonBox::ActionRole);
    btnJournalOpen->setObjectName("btnJournalOpen");
    // The report of the lines the filter shows.
    if (auto* main = qobject_cast<TfrmMain*>(parent)) {
        auto* report = new ReportActions(*main, this, [this](ReportRange* range, QString* text) {
            // The table shows one device once its code is whole.
            const QString code = edtJournalDevice->text();
            range->device = code.size() == 4 ? code : QString();
            *text = range->device.isEmpty() ? QStringLiteral("alle Gerätevorgänge im Protokoll")
                                            : QStringLiteral("Gerät %1").arg(code.toUpper());
            return true;
        });
        btnJournalReport = ReportMenuButton(*report, this);
        buttons->addButton(btnJournalReport, QDialogButtonBox::ActionRole);
    }
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(btnJournalOpen, &QPushButton::clicked, this, &TfrmJournal::OpenChosenLine);
    connect(tblJournal, &QTableView::doubleClicked, this, &TfrmJournal::OpenChosenLine);
    connect(tblJournal->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TfrmJournal::UpdateOpenButton);
    connect(edtJournalDevice, &QLineEdit::textChanged, this, [this](const QString& code) {
        // Only a whole code narrows the table; an empty field shows every line.
        if (code.isEmpty() || code.size() == 4) ShowDevice(code, nullptr);
    });
    auto* filter = new QHBoxLayout;
    filter->addWidget(label);
    filter->addWidget(edtJournalDevice);
    filter->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filter);
    layout->addWidget(tblJournal);
    layout->addWidget(buttons);
}

bool TfrmJournal::ShowDevice(const QString& deviceCode, QString* error) {
    if (!model_->Show(deviceCode, error)) return false;
    tblJournal->resizeColumnsToContents();
    UpdateOpenButton();
    return true;
}

void TfrmJournal::UpdateOpenButton() {
    const QModelIndex current = tblJournal->currentIndex();
    btnJournalOpen->setEnabled(current.isValid() && model_->HasImage(current.row()));
}

void TfrmJournal::OpenChosenLine() {
    const QModelIndex current = tblJournal->currentIndex();
    if (!current.isValid()) return;
    const int row = current.row();
    const QByteArray image = reader_.ImageOfLine(model_->LineId(row));
    if (image.size() != kImageSize) return;
    chosenImage = image;
    chosenLine = QStringList{model_->index(row, ColTime).data().toString(),
                             model_->index(row, ColCodeAfter).data().toString()};
    accept();
}

void TfrmMain::mnuCommShowJournalClick() {
    if (applicationDataFolder.isEmpty()) {
        const QString common = environment().commonDataFolder;
        int error = 0;
        FindApplicationDataFolder(common, &error);
        ErrorBox(Msg::DataFolderUnusable,
                 {ApplicationDataFolderPath(common), FileErrorCause(error)});
        return;
    }
    const JournalTarget target{JournalPath(applicationDataFolder), Jobs().journalServer};
    JournalReader reader;
    QString error;
    // A journal that cannot be read says so at once, with its cause.
    const auto refuse = [this](const QString& text) {
        prompts().ShowMessage(BoxKind::Error, Msg::JournalReadFailed, text, BoxButtons::Ok);
    };
    if (!reader.Open(target, &error)) return refuse(error);
    TfrmJournal dialog(std::move(reader), this);
    if (!dialog.ShowDevice(QString(), &error)) return refuse(error);
    if (dialog.exec() != QDialog::Accepted || dialog.chosenImage.isEmpty()) return;
    ShowJournalImage(dialog.chosenImage, dialog.chosenLine);
}

void TfrmMain::ShowJournalImage(const QByteArray& image, const QStringList& line) {
    ImageBytes bytes{};
    std::copy(image.cbegin(), image.cend(), bytes.begin());
    files_.ShowDeviceBytes(bytes, FillText(Msg::JournalConfigurationLoaded, line));
}
