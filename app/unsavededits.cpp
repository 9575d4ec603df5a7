// Nothing typed is lost without a question: Beenden, closing the window, Neu, Öffnen, a drop, a
// recent file and Lesen vom K-ORBI ask first while the settings hold unsaved edits. And
// Datei > Zuletzt geöffnet, the files opened or saved last.

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenu>
#include <cerrno>

#include "app/mainwindow.h"
#include "app/prompts.h"
#include "files/fileerrors.h"
#include "files/imagefile.h"
#include "files/recentfiles.h"
#include "files/settingsfile.h"
#include "resources/catalogue.h"

bool MainWindow::ConfirmLosingEdits() {
    if (!settings_.IsDirty()) return true;
    switch (AskQuestion(prompts(), Msg::UnsavedEditsQuestion, {}, BoxButtons::SaveDiscardCancel)) {
        case BoxAnswer::Yes:
            // Save As for settings without a file; a save that failed or was cancelled keeps
            // the edits, so the caller must not go on.
            onSaveTriggered();
            return !settings_.IsDirty();
        case BoxAnswer::No:
            return true;
        default:
            return false;
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!exitConfirmed_ && !ConfirmLosingEdits()) {
        event->ignore();
        return;
    }
    exitConfirmed_ = true;
    QMainWindow::closeEvent(event);
}

void MainWindow::BuildRecentMenu() {
    mnuFileRecent_ = new QMenu(Text(Msg::MenuFileRecent), mnuFile);
    mnuFileRecent_->setObjectName("mnuFileRecent");
    mnuFileRecent_->menuAction()->setObjectName("mnuFileRecent");
    mnuFile->insertMenu(mnuFileSave, mnuFileRecent_);
    connect(mnuFile, &QMenu::aboutToShow, this, &MainWindow::FillRecentMenu);
    FillRecentMenu();
}

void MainWindow::FillRecentMenu() {
    mnuFileRecent_->clear();
    const QStringList paths = ReadRecentFiles(settingsFilePath);
    for (int i = 0; i < paths.size(); ++i) {
        const QString& path = paths[i];
        // "&1 anlage.Korbi"; the whole path stands in the tooltip and the status tip.
        QString label = QFileInfo(path).fileName();
        label.replace('&', QLatin1String("&&"));
        QAction* action = mnuFileRecent_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(label));
        action->setToolTip(path);
        action->setStatusTip(path);
        // A file that has gone is shown greyed and dropped when it is chosen anyway.
        action->setEnabled(PathExists(path));
        connect(action, &QAction::triggered, this, [this, path] { OpenRecentFile(path); });
    }
    mnuFileRecent_->setToolTipsVisible(true);
    mnuFileRecent_->menuAction()->setEnabled(!paths.isEmpty());
}

void MainWindow::OpenRecentFile(const QString& path) {
    if (!QFileInfo::exists(path)) {
        ErrorBox(Msg::FileNotLoaded, {}, FileErrorCause(ENOENT));
        ForgetRecentFile(settingsFilePath, path);
        FillRecentMenu();
        return;
    }
    LoadConfigurationFile(path, LoadKind::Open);
}
