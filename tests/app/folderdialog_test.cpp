// File > Select Default Folder: the dialog's layout, its folder rules, the browse button and
// what OK and Cancel leave in the window and the settings file.

#include "app/folderdialog.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "files/fileerrors.h"
#include "files/imagefile.h"
#include "files/settingsfile.h"
#include "files/started_window.h"

namespace {

class DefaultFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        w = m.Start();
        dialog = new FolderDialog(w.get());
        w->AttachDialogs(nullptr, dialog, nullptr, nullptr);
        m.prompts.Clear();
    }
    void TearDown() override { SetWriteFaultForTests(nullptr); }

    // Runs the menu command; while the dialog is shown, act plays the user.
    void Choose(const std::function<void(FolderDialog&)>& act) {
        QTimer::singleShot(0, dialog, [this, act] { act(*dialog); });
        w->onSelectDefaultFolderTriggered();
    }
    QString Stored() const { return ReadSetting(w->settingsFilePath, "Setup", "ConfigDirectory"); }

    Machine m{Machine::WithShippedFiles};
    std::unique_ptr<MainWindow> w;
    FolderDialog* dialog = nullptr;
};

}  // namespace

TEST(SelectDirectoryDialog, LayoutAndCaptions) {
    FolderDialog d;
    EXPECT_EQ(d.size(), QSize(469, 226));
    EXPECT_EQ(d.minimumSize(), d.maximumSize());
    EXPECT_EQ(d.windowTitle(), "Wähle Standardverzeichnis");
    EXPECT_EQ(d.gbxSelectDirectory->geometry(), QRect(8, 8, 449, 177));
    EXPECT_EQ(d.gbxSelectDirectory->title(), "Standardverzeichnis");
    EXPECT_EQ(d.lblDirectoryInfo->pos(), QPoint(16, 24));
    EXPECT_EQ(d.lblDirectoryInfo->width(), 404);
    EXPECT_TRUE(d.lblDirectoryInfo->wordWrap());
    EXPECT_EQ(d.edtActiveConfigDirectory->geometry(), QRect(16, 104, 417, 21));
    EXPECT_EQ(d.edtActiveConfigDirectory->text(), "");
    EXPECT_EQ(d.btnBrowse->geometry(), QRect(288, 136, 147, 25));
    EXPECT_EQ(d.btnBrowse->text(), "&Suchen...");
    EXPECT_EQ(d.btnOK->geometry(), QRect(296, 192, 75, 25));
    EXPECT_EQ(d.btnOK->text(), "&OK");
    EXPECT_EQ(d.btnCancel->geometry(), QRect(384, 192, 75, 25));
    EXPECT_EQ(d.btnCancel->text(), "&Abbruch");
    EXPECT_EQ(d.objectName(), "frmSelectDirectory");
}

TEST(SelectDirectoryDialog, FoldersLoseExactlyOneTrailingDelimiter) {
    FolderDialog d;
    d.SetFolder("/home/anna/Anlagen/");
    EXPECT_EQ(d.edtActiveConfigDirectory->text(), "/home/anna/Anlagen");
    d.edtActiveConfigDirectory->setText("/srv//");
    EXPECT_EQ(d.GetFolder(), "/srv/");
    d.edtActiveConfigDirectory->setText("relativ");
    EXPECT_EQ(d.GetFolder(), "relativ");
}

TEST_F(DefaultFolder, OkTakesTheTypedFolderAndStoresIt) {
    const QString before = w->defaultFolder;
    QString shown;
    Choose([&](FolderDialog& d) {
        shown = d.edtActiveConfigDirectory->text();
        d.edtActiveConfigDirectory->setText("/home/anna/Anlagen/");
        d.btnOK->click();
    });
    EXPECT_EQ(shown, before);
    EXPECT_EQ(w->defaultFolder, "/home/anna/Anlagen");
    EXPECT_EQ(Stored(), "/home/anna/Anlagen");

    // Save As now starts there.
    m.prompts.paths << "";
    w->onSaveAsTriggered();
    EXPECT_EQ(m.prompts.records.last().request.startFolder, "/home/anna/Anlagen");

    // An empty folder is taken as it is, and the next start uses the document folder.
    Choose([](FolderDialog& d) {
        d.edtActiveConfigDirectory->clear();
        d.btnOK->click();
    });
    EXPECT_EQ(w->defaultFolder, "");
    EXPECT_EQ(Stored(), "");
    EXPECT_TRUE(ReadBytes(w->settingsFilePath).contains("ConfigDirectory="));
    EXPECT_EQ(m.Start()->defaultFolder, m.commonDocuments + "/TALO/K-ORBI config");
}

TEST_F(DefaultFolder, BrowseThenCancelChangesNothing) {
    const QString before = w->defaultFolder;
    const QByteArray settings = ReadBytes(w->settingsFilePath);
    m.prompts.paths << "/srv/Kunden/";
    QString edited;
    Choose([&](FolderDialog& d) {
        d.btnBrowse->click();
        edited = d.edtActiveConfigDirectory->text();
        d.btnCancel->click();
    });
    ASSERT_EQ(m.prompts.records.size(), 1);
    EXPECT_EQ(m.prompts.records[0].type, PromptRecord::Folder);
    EXPECT_EQ(m.prompts.records[0].request.title, "Wähle neues Standardverzeichnis");
    EXPECT_EQ(m.prompts.records[0].request.startFolder, before);
    EXPECT_EQ(edited, "/srv/Kunden");
    EXPECT_EQ(w->defaultFolder, before);
    EXPECT_EQ(ReadBytes(w->settingsFilePath), settings);

    // A cancelled picker keeps the text; the root folder keeps its one delimiter.
    m.prompts.paths << ""
                    << "/";
    Choose([&](FolderDialog& d) {
        d.edtActiveConfigDirectory->setText("/tmp/");
        d.btnBrowse->click();
        edited = d.edtActiveConfigDirectory->text();
        d.btnBrowse->click();
        d.btnOK->click();
    });
    EXPECT_EQ(edited, "/tmp/");
    EXPECT_EQ(m.prompts.records.last().request.startFolder, "/tmp");
    EXPECT_EQ(w->defaultFolder, "/");
}

TEST_F(DefaultFolder, WithoutASettingsFileTheFirstOkCreatesIt) {
    QFile::remove(w->settingsFilePath);
    Choose([](FolderDialog& d) {
        d.edtActiveConfigDirectory->setText("/srv/Anlagen");
        d.btnOK->click();
    });
    EXPECT_EQ(ReadBytes(w->settingsFilePath), "[Setup]\nConfigDirectory=/srv/Anlagen\n");
}

TEST_F(DefaultFolder, ARefusedWriteIsShownAndTheOldFileStays) {
    const QByteArray settings = ReadBytes(w->settingsFilePath);
    SetWriteFaultForTests([](const QString&) { return true; });
    Choose([](FolderDialog& d) {
        d.edtActiveConfigDirectory->setText("/srv/Anlagen");
        d.btnOK->click();
    });
    ASSERT_EQ(m.prompts.MessageIds(), QList<int>{0});
    EXPECT_EQ(m.prompts.records[0].kind, BoxKind::Error);
    EXPECT_EQ(m.prompts.records[0].text,
              "Unable to write to " + w->settingsFilePath + "\n\n" + FileErrorCause(ENOSPC));
    EXPECT_EQ(w->defaultFolder, "/srv/Anlagen");  // changed for this run all the same
    EXPECT_EQ(ReadBytes(w->settingsFilePath), settings);
}

TEST_F(DefaultFolder, TheDialogIsCentredOverTheMainWindow) {
    w->show();
    w->move(100, 50);
    QRect main, self;
    Choose([&](FolderDialog& d) {
        main = w->frameGeometry();
        self = d.frameGeometry();
        d.btnCancel->click();
    });
    EXPECT_EQ(self.left(), main.left() + (main.width() - self.width()) / 2);
    EXPECT_EQ(self.top(), main.top() + (main.height() - self.height()) / 2);
}

TEST_F(DefaultFolder, RestoringTheMinimisedDialogKeepsItsPlaceAndText) {
    w->show();
    QPoint moved;
    QString text;
    Choose([&](FolderDialog& d) {
        moved = d.pos() + QPoint(30, -20);
        d.move(moved);
        d.edtActiveConfigDirectory->setText("/srv/typed");
        d.setWindowState(Qt::WindowMinimized);
        d.setWindowState(Qt::WindowNoState);
        EXPECT_EQ(d.pos(), moved);
        text = d.edtActiveConfigDirectory->text();
        d.btnCancel->click();
    });
    EXPECT_EQ(text, "/srv/typed");
}
