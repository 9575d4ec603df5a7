#include "app/about.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>

#include "app/aboutinfo.h"
#include "app/centring.h"
#include "app/devicepicture.h"
#include "app/placewidget.h"
#include "resources/catalogue.h"

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName("frmAbout");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(394, 303);

    commandPanel = new QFrame(this);
    commandPanel->setObjectName("Panel1");
    commandPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    commandPanel->setLineWidth(2);
    commandPanel->setGeometry(8, 8, 377, 249);

    ProgramIcon = PlaceWidget<QLabel>(commandPanel, "ProgramIcon", 16, 14, 121, 160);
    ProgramIcon->setScaledContents(true);  // the picture is stretched to fit
    ProgramIcon->setPixmap(QPixmap::fromImage(DevicePicture()));

    GroupBox1 = PlaceWidget<QGroupBox>(commandPanel, "GroupBox1", 152, 8, 209, 225);

    mmoInfo = PlaceWidget<QPlainTextEdit>(GroupBox1, "mmoInfo", 8, 16, 177, 161);
    mmoInfo->setReadOnly(true);
    mmoInfo->setFrameStyle(QFrame::NoFrame);
    mmoInfo->setFocusPolicy(Qt::NoFocus);
    mmoInfo->setAccessibleName(QStringLiteral("Programm und Hersteller"));
    QPalette palette = mmoInfo->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    mmoInfo->setPalette(palette);

    lblLpxVersion = PlaceWidget<QLabel>(GroupBox1, "lblLpxVersion", 8, 200, 193, 17);

    // Beside the button, where the box has room; the path is elided, the tooltip holds it whole.
    lblDataFolder = PlaceWidget<QLabel>(this, "lblDataFolder", 8, 268, 295, 25);
    lblDataFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblDataFolder->hide();

    btnOK = PlaceWidget<QPushButton>(this, "btnOK", 311, 268, 75, 25);
    btnOK->setDefault(true);
    // Named from the start, also for a screen reader that looks before the first showing.
    btnOK->setText(ToolkitText::Ok);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
}

void AboutBox::Configure(const QString& programFolder, const QString& siteConfigFolder,
                         const VersionRecord& version, AskLpxLine askLpx) {
    programFolder_ = programFolder;
    siteConfigFolder_ = siteConfigFolder;
    version_ = version;
    askLpx_ = std::move(askLpx);
}

void AboutBox::SetDataFolder(const QString& folder) {
    const QString text = FillText(Msg::AboutDataFolder, {folder});
    lblDataFolder->setToolTip(text);
    lblDataFolder->setText(
        lblDataFolder->fontMetrics().elidedText(text, Qt::ElideMiddle, lblDataFolder->width()));
    lblDataFolder->setVisible(!folder.isEmpty());
}

void AboutBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Restoring the minimised box is no new showing: it neither moves nor asks the LPX again.
    if (!event->spontaneous()) FormShow();
}

void AboutBox::FormShow() {
    CentreOnScreen(this);
    setWindowTitle(Text(Msg::AboutTitle));
    btnOK->setText(ToolkitText::Ok);

    QStringList lines = AboutInfoLines(version_, AboutIniPath(programFolder_, siteConfigFolder_));

    lblLpxVersion->clear();
    // A line that arrives after the box was closed finds it hidden and no harm done.
    if (askLpx_)
        askLpx_([box = QPointer<AboutBox>(this)](const QString& line) {
            if (box) box->lblLpxVersion->setText(line);
        });

    mmoInfo->setPlainText(lines.join('\n'));
}
