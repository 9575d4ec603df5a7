#include "app/waitdialog.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHideEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

#include "app/centring.h"
#include "app/devicepicture.h"
#include "app/placewidget.h"
#include "jobs/jobhost.h"
#include "resources/catalogue.h"

PressWaitDialog::PressWaitDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("frmReceiveRadio");
    setFixedSize(398, 220);

    gbxReceiveRadio = PlaceWidget<QGroupBox>(this, "gbxReceiveRadio", 8, 8, 385, 201);

    imgTransmitter = PlaceWidget<QLabel>(gbxReceiveRadio, "imgTransmitter", 16, 24, 121, 160);
    imgTransmitter->setAlignment(Qt::AlignCenter);
    // A picture in a group box would be read by the box's heading: it has a name of its own.
    imgTransmitter->setAccessibleName(QStringLiteral("Abbildung des K-ORBI"));
    const QImage picture = DevicePicture();
    if (!picture.isNull()) {
        imgTransmitter->setPixmap(QPixmap::fromImage(
            picture.scaled(121, 160, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    }

    lblAction = new QLabel(gbxReceiveRadio);
    lblAction->setObjectName("lblAction");
    lblAction->setWordWrap(true);
    lblAction->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblAction->move(144, 40);

    // Left of the abort button, below the instruction.
    lblSeries = PlaceWidget<QLabel>(gbxReceiveRadio, "lblSeries", 144, 150, 100, 24);
    lblSeries->setStyleSheet(QStringLiteral("font-weight: bold"));
    lblSeries->hide();

    btbtnAbort = PlaceWidget<QPushButton>(this, "btbtnAbort", 256, 152, 113, 33);
    // Named from the start, also for a screen reader that looks before the first showing.
    btbtnAbort->setText(ToolkitText::Abort);
    connect(btbtnAbort, &QPushButton::clicked, this, &PressWaitDialog::onAbortClicked);

    SetTitle(QString());
    SetHeading(QString());
    lblAction->setText(QString());
}

void PressWaitDialog::SetTitle(const QString& text) {
    setWindowTitle(text);
}

void PressWaitDialog::SetHeading(const QString& text) {
    gbxReceiveRadio->setTitle(text);
}

namespace {

// Word wrap may break a line after a hyphen and tear "K-ORBI" apart: the lines are broken here,
// at spaces only, so that the text keeps its plain hyphens for the eye and a screen reader.
QString BreakAtSpaces(const QString& text, const QFontMetrics& metrics, int width) {
    QStringList lines;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QString line;
        for (const QString& word : paragraph.split(QLatin1Char(' '))) {
            const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
                lines << line;
                line = word;
            } else {
                line = longer;
            }
        }
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

void PressWaitDialog::SetInstruction(const QString& text) {
    const int width = static_cast<int>(gbxReceiveRadio->width() * 0.58);
    lblAction->setWordWrap(false);
    lblAction->setText(BreakAtSpaces(text, lblAction->fontMetrics(), width));
    // Read as the sentences it holds, not line by line.
    lblAction->setAccessibleName(QString(text).simplified());
    // The label grows downwards with its text; the group box cuts what does not fit.
    lblAction->setFixedWidth(width);
    lblAction->setFixedHeight(
        qMax(lblAction->sizeHint().height(), lblAction->fontMetrics().height()));
}

void PressWaitDialog::SetStep(const QString& step) {
    if (step == step_) return;
    step_ = step;
    Describe();
}

void PressWaitDialog::SetLastResult(const QString& text) {
    lastResult_ = text;
    Describe();
}

void PressWaitDialog::Describe() {
    QStringList parts;
    for (const QString& part : {lastResult_, step_, lblSeries->text()})
        if (!part.isEmpty()) parts << part;
    // Setting the description tells a screen reader of the change while a button has the focus;
    // it reads the description anew when the dialog opens and the button takes the focus again.
    for (QPushButton* button : {btbtnAbort, btnPressKorbi})
        if (button) button->setAccessibleDescription(parts.join(QStringLiteral(". ")));
}

void PressWaitDialog::SetSeriesProgress(const QString& text) {
    lblSeries->setText(text);
    lblSeries->setVisible(!text.isEmpty());
    Describe();
}

void PressWaitDialog::SetSeriesCode(const QString& code, const QString& room) {
    constexpr int kStripHeight = 64;
    constexpr int kRoomHeight = 40;
    if (!lblSeriesCode) {
        heightWithoutCode_ = height();
        lblSeriesCode = new QLabel(this);
        lblSeriesCode->setObjectName("lblSeriesCode");
        lblSeriesCode->setAlignment(Qt::AlignCenter);
    }
    // The room goes under the code, as large: the label with this code belongs on its button.
    const int strip = kStripHeight + (room.isEmpty() ? 0 : kRoomHeight);
    lblSeriesCode->setGeometry(16, heightWithoutCode_, width() - 32, strip - 8);
    const QString large =
        QStringLiteral("<span style=\"font-size: 24pt; font-weight: bold\">%1</span>");
    lblSeriesCode->setText(
        Text(Msg::SeriesNextCode).toHtmlEscaped() + QStringLiteral("<br>") +
        large.arg(code.toHtmlEscaped()) +
        (room.isEmpty() ? QString() : QStringLiteral("<br>") + large.arg(room.toHtmlEscaped())));
    lblSeriesCode->setAccessibleName(Text(Msg::SeriesNextCode) + ' ' + code +
                                     (room.isEmpty() ? QString() : QStringLiteral(", ") + room));
    lblSeriesCode->setVisible(!code.isEmpty());
    setFixedSize(width(), heightWithoutCode_ + (code.isEmpty() ? 0 : strip));
}

// Centred when first shown; afterwards each step of a job, and each job, finds the dialog
// where the last one left it, so that it does not jump while the technician watches it.
void PressWaitDialog::FormShow() {
    if (placed_)
        move(lastPlace_);
    else
        CentreOnScreen(this);
    placed_ = true;
    btbtnAbort->setText(ToolkitText::Abort);
}

void PressWaitDialog::hideEvent(QHideEvent* event) {
    if (!event->spontaneous()) lastPlace_ = pos();
    QDialog::hideEvent(event);
}

void PressWaitDialog::onAbortClicked() {
    if (abort_)
        abort_();
    else
        done(WaitAborted);
}

void PressWaitDialog::AddPracticeButton(std::function<void()> press) {
    pressKorbi_ = std::move(press);
    if (btnPressKorbi) return;
    // Beside the abort button there is no room for the caption; the dialog grows by a strip
    // below the group box instead, so that every other control stays where it was.
    setFixedSize(398, 260);
    btnPressKorbi = PlaceWidget<QPushButton>(this, "btnPressKorbi", 216, 218, 153, 33);
    btnPressKorbi->setText(Text(Msg::PracticePressButton));
    btnPressKorbi->show();
    Describe();
    connect(btnPressKorbi, &QPushButton::clicked, this, &PressWaitDialog::onPressKorbiClicked);
}

void PressWaitDialog::onPressKorbiClicked() {
    if (pressKorbi_) pressKorbi_();
}

void PressWaitDialog::showEvent(QShowEvent* event) {
    // Restoring the minimised dialog is no new showing: it stays where the user put it.
    if (!event->spontaneous()) FormShow();
    QDialog::showEvent(event);
}

// A close request (the window manager's, Alt+F4) and Escape are the abort button: the job learns
// that the user ended the wait.
void PressWaitDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (isVisible()) onAbortClicked();
}

void PressWaitDialog::reject() {
    onAbortClicked();
}
