#pragma once
// FolderDialog: the dialog of File > Select Default Folder. The user types a folder or
// picks one with the browse button; the main window takes it over after OK.

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class Prompts;

class FolderDialog : public QDialog {
    Q_OBJECT
  public:
    explicit FolderDialog(QWidget* parent = nullptr);

    // The folder picker of the browse button goes through these prompts (the main window's).
    void SetPrompts(Prompts* prompts) { prompts_ = prompts; }

    // Puts folder, without one trailing delimiter, into the edit.
    void SetFolder(const QString& folder);
    // The edit's text without one trailing delimiter.
    QString GetFolder() const;

    void onBrowseClicked();

    QGroupBox* gbxSelectDirectory = nullptr;
    QLabel* lblDirectoryInfo = nullptr;
    QLineEdit* edtActiveConfigDirectory = nullptr;
    QPushButton* btnBrowse = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FormCreate();
    void FormShow();

    Prompts* prompts_ = nullptr;
};

// File > Select Default Folder: shows the dialog on folder and, after OK, takes the folder as
// typed (an empty or missing folder is the user's choice) and stores it in the settings file; a
// failed store is said in a box.
void ChooseDefaultFolder(FolderDialog& dialog, Prompts& prompts, QString& folder,
                         const QString& settingsFilePath);
