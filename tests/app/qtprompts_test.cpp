// The real prompts: German message boxes and Qt's file dialogs, driven through the open modal
// window.

#include "app/qtprompts.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "resources/catalogue.h"
#include "window_fixture.h"

namespace {

QStringList ButtonTexts(QMessageBox* box) {
    QStringList texts;
    for (QAbstractButton* b : box->buttons()) texts << b->text();
    return texts;
}

QAbstractButton* ButtonWithText(QMessageBox* box, const QString& text) {
    for (QAbstractButton* b : box->buttons())
        if (b->text() == text) return b;
    return nullptr;
}

}  // namespace

TEST(QtPromptsTest, MessageBoxesAreGermanAndReportTheButtonPressed) {
    struct Case {
        BoxKind kind;
        BoxButtons buttons;
        const char* title;
        QMessageBox::Icon icon;
        QStringList buttonTexts;
        const char* press;  // nullptr: close the box with Escape; "\n": press Enter
        BoxAnswer answer;
    } cases[] = {
        // clang-format off
        {BoxKind::Error, BoxButtons::Ok, "Fehler", QMessageBox::Critical, {"&OK"}, "&OK", BoxAnswer::Ok},
        {BoxKind::Error, BoxButtons::Ok, "Fehler", QMessageBox::Critical, {"&OK"}, nullptr, BoxAnswer::Ok},
        {BoxKind::Information, BoxButtons::YesNo, "Information", QMessageBox::Information,
         {"&Ja", "&Nein"}, "&Nein", BoxAnswer::No},
        {BoxKind::Confirmation, BoxButtons::YesNo, "Bestätigen", QMessageBox::Question,
         {"&Ja", "&Nein"}, "&Ja", BoxAnswer::Yes},
        {BoxKind::Confirmation, BoxButtons::YesNo, "Bestätigen", QMessageBox::Question,
         {"&Ja", "&Nein"}, nullptr, BoxAnswer::No},
        {BoxKind::Warning, BoxButtons::YesNoAbort, "Warnung", QMessageBox::Warning,
         {"&Ja", "&Nein", "&Abbruch"}, "&Abbruch", BoxAnswer::Abort},
        // Leaving the question unanswered is no order to abort what it asks about.
        {BoxKind::Information, BoxButtons::YesNoAbort, "Information", QMessageBox::Information,
         {"&Ja", "&Nein", "&Abbruch"}, nullptr, BoxAnswer::No},
        // A question whose Yes is seldom right is not answered Yes by Enter alone.
        {BoxKind::Confirmation, BoxButtons::YesNoDefaultNo, "Bestätigen", QMessageBox::Question,
         {"&Ja", "&Nein"}, "\n", BoxAnswer::No},
        // clang-format on
    };
    // A text with line breaks and characters that look like markup is shown as it is.
    const QString text = Text(10812);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        bool seen = false;
        WhenModalOpens([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (!box) {
                ADD_FAILURE() << "not a message box";
                modal->close();
                return;
            }
            seen = true;
            EXPECT_EQ(box->windowTitle(), QString::fromUtf8(c.title));
            EXPECT_EQ(box->icon(), c.icon);
            EXPECT_EQ(box->text(), text);
            EXPECT_EQ(box->textFormat(), Qt::PlainText);
            QStringList shown = ButtonTexts(box);
            shown.sort();
            QStringList expected = c.buttonTexts;
            expected.sort();
            EXPECT_EQ(shown, expected);
            if (c.press && *c.press == '\n') {
                QTest::keyClick(box, Qt::Key_Return);
            } else if (c.press) {
                QAbstractButton* button = ButtonWithText(box, c.press);
                ASSERT_TRUE(button);
                button->click();
            } else {
                QTest::keyClick(box, Qt::Key_Escape);
            }
        });
        QtPrompts prompts;
        EXPECT_EQ(prompts.ShowMessage(c.kind, 10812, text, c.buttons), c.answer);
        EXPECT_TRUE(seen);
    }
}

TEST(QtPromptsTest, FiltersTakeQtsForm) {
    struct Case {
        const char* given;
        const char* expected;
    } cases[] = {
        {"K-ORBI Konfigurationsdatei|*.Korbi", "K-ORBI Konfigurationsdatei (*.Korbi)"},
        {"Vorlagen|*.bin;*.b|Alle|*.*", "Vorlagen (*.bin *.b);;Alle (*.*)"},
        {"*.Korbi", "*.Korbi"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(QtNameFilter(c.given), QString::fromUtf8(c.expected));
}

TEST(QtPromptsTest, SaveDialogLeavesTheOverwriteQuestionToTheProgram) {
    QTemporaryDir folder;
    const QString existing = folder.filePath("Haus 1.Korbi");
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    WhenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(dialog->windowTitle(), "Speichern unter");
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(dialog->nameFilters(), QStringList{"K-ORBI Konfigurationsdatei (*.Korbi)"});
        EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(folder.path()).canonicalPath());
        dialog->selectFile(existing);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    QtPrompts prompts;
    const QString chosen = prompts.AskSaveFile(
        {"Speichern unter", "K-ORBI Konfigurationsdatei|*.Korbi", "Haus 1.Korbi", folder.path()});
    // No box of Qt's own came between: the dialog returned the existing file at once.
    EXPECT_EQ(QFileInfo(chosen).canonicalFilePath(), QFileInfo(existing).canonicalFilePath());
}

TEST(QtPromptsTest, CancelledOpenDialogGivesNoPath) {
    QTemporaryDir folder;
    WhenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
        // The pattern chose its filter; the name waits to be typed or picked.
        EXPECT_EQ(dialog->selectedNameFilter(), "K-ORBI Konfigurationsdatei (*.Korbi *.bin)");
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_TRUE(name);
        EXPECT_TRUE(name->text().isEmpty()) << name->text().toStdString();
        dialog->reject();
    });
    QtPrompts prompts;
    EXPECT_TRUE(
        prompts
            .AskOpenFile({"Öffnen", "Alle Dateien|*|K-ORBI Konfigurationsdatei|*.Korbi;*.bin",
                          "*.Korbi", folder.path()})
            .isEmpty());
}

TEST(QtPromptsTest, FolderPickerStartsInTheFolderOnlyWhenItExists) {
    QTemporaryDir folder;
    const QString sub = folder.filePath("Kunden");
    ASSERT_TRUE(QDir().mkpath(sub));
    struct Case {
        QString start;
        bool preselected;
        // The missing folder first: afterwards Qt would remember the folder last shown.
    } cases[] = {{folder.filePath("Kunden/gibt es nicht"), false}, {sub, true}};
    for (const Case& c : cases) {
        QString shownFolder;
        WhenModalOpens([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_TRUE(dialog);
            EXPECT_EQ(dialog->windowTitle(), "Wähle neues Standardverzeichnis");
            EXPECT_EQ(dialog->fileMode(), QFileDialog::Directory);
            EXPECT_TRUE(dialog->testOption(QFileDialog::ShowDirsOnly));
            shownFolder = dialog->directory().canonicalPath();
            dialog->reject();
        });
        QtPrompts prompts;
        EXPECT_TRUE(prompts.AskFolder("Wähle neues Standardverzeichnis", c.start).isEmpty());
        EXPECT_EQ(shownFolder == QDir(sub).canonicalPath(), c.preselected)
            << shownFolder.toStdString();
    }
}
