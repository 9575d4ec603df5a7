#include "app/journalview.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/mainwindow.h"
#include "files/fileerrors.h"
#include "files/journal.h"
#include "files/startupsteps.h"
#include "resources/catalogue.h"
#include "resources/msg.h"

TfrmJournal::TfrmJournal(QWidget* parent) : QDialog(parent) {
    setObjectName("frmJournal");
    setWindowTitle(Text(Msg::JournalTitle));
    resize(900, 420);
    tblJournal = new QTableWidget(0, kJournalColumns, this);
    tblJournal->setObjectName("tblJournal");
    tblJournal->setHorizontalHeaderLabels(JournalHeader());
    tblJournal->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblJournal->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblJournal->verticalHeader()->setVisible(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(ToolkitText::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tblJournal);
    layout->addWidget(buttons);
}

void TfrmJournal::SetLines(const QList<QStringList>& lines) {
    tblJournal->setRowCount(static_cast<int>(lines.size()));
    for (int row = 0; row < lines.size(); ++row) {
        for (int column = 0; column < kJournalColumns; ++column)
            tblJournal->setItem(row, column, new QTableWidgetItem(lines[row].value(column)));
    }
    tblJournal->resizeColumnsToContents();
    tblJournal->scrollToBottom();
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
    const QString path = JournalPath(applicationDataFolder);
    QList<QStringList> lines;
    QString error;
    if (!ReadJournal(path, &lines, &error)) {
        ErrorBox(Msg::JournalReadFailed, {path, error});
        return;
    }
    TfrmJournal dialog(this);
    dialog.SetLines(lines);
    dialog.exec();
}
