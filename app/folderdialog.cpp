#include "app/folderdialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "app/accesskeys.h"
#include "app/placewidget.h"
#include "app/prompts.h"
#include "files/filenames.h"
#include "files/settingsfile.h"
#include "resources/catalogue.h"

FolderDialog::FolderDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("frmSelectDirectory");
    // Fixed single border with the system menu only: no resizing, no help or maximise button.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(469, 226);

    gbxSelectDirectory = PlaceWidget<QGroupBox>(this, "gbxSelectDirectory", 8, 8, 449, 177);

    lblDirectoryInfo = new QLabel(gbxSelectDirectory);
    lblDirectoryInfo->setObjectName("lblDirectoryInfo");
    lblDirectoryInfo->setWordWrap(true);
    lblDirectoryInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblDirectoryInfo->setGeometry(16, 24, 0, 72);

    edtActiveConfigDirectory =
        PlaceWidget<QLineEdit>(gbxSelectDirectory, "edtActiveConfigDirectory", 16, 104, 417, 21);

    btnBrowse = PlaceWidget<QPushButton>(gbxSelectDirectory, "btnBrowse", 288, 136, 147, 25);
    btnBrowse->setAutoDefault(false);

    btnOK = PlaceWidget<QPushButton>(this, "btnOK", 296, 192, 75, 25);
    btnOK->setDefault(true);

    btnCancel = PlaceWidget<QPushButton>(this, "btnCancel", 384, 192, 75, 25);
    btnCancel->setAutoDefault(false);

    connect(btnBrowse, &QPushButton::clicked, this, [this] { onBrowseClicked(); });
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    FormCreate();
}

void FolderDialog::FormCreate() {
    setWindowTitle(Text(Msg::SelectFolderTitle));
    gbxSelectDirectory->setTitle(Text(Msg::SelectFolderBox));
    lblDirectoryInfo->setText(Text(Msg::SelectFolderInfo));
    lblDirectoryInfo->resize(gbxSelectDirectory->width() * 9 / 10, lblDirectoryInfo->height());
    btnBrowse->setText(Text(Msg::BrowseButton));
    btnOK->setText(ToolkitText::Ok);
    btnCancel->setText(ToolkitText::Abort);
    NameControl(edtActiveConfigDirectory, Text(Msg::SelectFolderBox), Text(Msg::SelectFolderInfo));
}

void FolderDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Restoring the minimised dialog is no new showing: it stays where the user put it.
    if (!event->spontaneous()) FormShow();
}

// Centred over the main window; each halving is cut toward zero, also for a negative difference.
void FolderDialog::FormShow() {
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (!owner) return;
    const QRect main = owner->frameGeometry();
    const QRect self = frameGeometry();
    move(main.left() + (main.width() - self.width()) / 2,
         main.top() + (main.height() - self.height()) / 2);
}

void FolderDialog::SetFolder(const QString& folder) {
    edtActiveConfigDirectory->setText(WithoutTrailingDelimiter(folder));
}

QString FolderDialog::GetFolder() const {
    return WithoutTrailingDelimiter(edtActiveConfigDirectory->text());
}

void FolderDialog::onBrowseClicked() {
    if (!prompts_) return;
    const QString start = WithoutTrailingDelimiter(edtActiveConfigDirectory->text());
    const QString picked = prompts_->AskFolder(Text(Msg::SelectNewFolderTitle), start);
    if (!picked.isEmpty()) edtActiveConfigDirectory->setText(WithoutTrailingDelimiter(picked));
}

void ChooseDefaultFolder(FolderDialog& dialog, Prompts& prompts, QString& folder,
                         const QString& settingsFilePath) {
    dialog.SetPrompts(&prompts);
    dialog.SetFolder(folder);
    if (dialog.exec() != QDialog::Accepted) return;
    folder = dialog.GetFolder();
    int error = 0;
    if (!WriteSetting(settingsFilePath, "Setup", "ConfigDirectory", folder, &error))
        prompts.ShowMessage(BoxKind::Error, 0, WriteSettingFailureText(settingsFilePath, error),
                            BoxButtons::Ok);
}
