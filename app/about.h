#pragma once
// AboutBox: Help > Info, with the program's version, the site's contact lines and the LPX's
// information text, which the box asks the LPX for each time it opens. The box opens at once;
// the LPX's line follows when it arrives.

#include <QDialog>
#include <functional>

#include "app/environment.h"

class QFrame;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

class AboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit AboutBox(QWidget* parent = nullptr);

    // Asks the LPX for its line away from the window's thread; told gets it (empty: no answer)
    // on the window's thread.
    using AskLpxLine = std::function<void(std::function<void(const QString& line)> told)>;
    // Where the box finds about.ini (beside the program, else in the site's folder), the
    // version record and the LPX's line.
    void Configure(const QString& programFolder, const QString& siteConfigFolder,
                   const VersionRecord& version, AskLpxLine askLpx);
    // The folder of Values.ini, the templates and the journal, shown under the box so that a
    // technician can find it.
    void SetDataFolder(const QString& folder);
    // Rebuilds the contents; runs on every showing.
    void FormShow();

    QPushButton* btnOK = nullptr;
    QFrame* commandPanel = nullptr;
    QLabel* ProgramIcon = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QPlainTextEdit* mmoInfo = nullptr;
    QLabel* lblLpxVersion = nullptr;
    QLabel* lblDataFolder = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QString programFolder_;
    QString siteConfigFolder_;
    VersionRecord version_;
    AskLpxLine askLpx_;
};
