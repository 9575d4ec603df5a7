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

TfrmReceiveRadio::TfrmReceiveRadio(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("frmReceiveRadio");
    setFixedSize(398, 220);

    gbxReceiveRadio = PlaceWidget<QGroupBox>(this, "gbxReceiveRadio", 8, 8, 385, 201);

    imgTransmitter = PlaceWidget<QLabel>(gbxReceiveRadio, "imgTransmitter", 16, 24, 121, 160);
    imgTransmitter->setAlignment(Qt::AlignCenter);
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
    connect(btbtnAbort, &QPushButton::clicked, this, &TfrmReceiveRadio::btbtnAbortClick);

    SetTitle(QString());
    SetHeading(QString());
    lblAction->setText(QString());
}

void TfrmReceiveRadio::SetTitle(const QString& text) {
    setWindowTitle(text);
}

void TfrmReceiveRadio::SetHeading(const QString& text) {
    gbxReceiveRadio->setTitle(text);
}

namespace {

// Word wrap may break a line after a hyphen and tear "K-ORBI" apart. A hyphen inside a word is
// shown as the non-breaking hyphen, which looks the same.
QString KeepHyphenatedWordsWhole(QString text) {
    for (int i = 1; i + 1 < text.size(); ++i) {
        if (text[i] == '-' && text[i - 1].isLetterOrNumber() && text[i + 1].isLetterOrNumber())
            text[i] = QChar(0x2011);
    }
    return text;
}

}  // namespace

void TfrmReceiveRadio::SetInstruction(const QString& text) {
    const int width = static_cast<int>(gbxReceiveRadio->width() * 0.58);
    lblAction->setText(KeepHyphenatedWordsWhole(text));
    // The label grows downwards with its text; the group box cuts what does not fit.
    lblAction->setFixedWidth(width);
    lblAction->setFixedHeight(
        qMax(lblAction->heightForWidth(width), lblAction->fontMetrics().height()));
}

void TfrmReceiveRadio::SetSeriesProgress(const QString& text) {
    lblSeries->setText(text);
    lblSeries->setVisible(!text.isEmpty());
}

void TfrmReceiveRadio::SetSeriesCode(const QString& code) {
    constexpr int kStripHeight = 64;
    if (!lblSeriesCode) {
        heightWithoutCode_ = height();
        lblSeriesCode = new QLabel(this);
        lblSeriesCode->setObjectName("lblSeriesCode");
        lblSeriesCode->setAlignment(Qt::AlignCenter);
        lblSeriesCode->setGeometry(16, heightWithoutCode_, width() - 32, kStripHeight - 8);
    }
    lblSeriesCode->setText(
        QStringLiteral("%1<br><span style=\"font-size: 24pt; font-weight: bold\">%2</span>")
            .arg(Text(Msg::SeriesNextCode).toHtmlEscaped(), code.toHtmlEscaped()));
    lblSeriesCode->setAccessibleName(Text(Msg::SeriesNextCode) + ' ' + code);
    lblSeriesCode->setVisible(!code.isEmpty());
    setFixedSize(width(), heightWithoutCode_ + (code.isEmpty() ? 0 : kStripHeight));
}

// Centred when first shown; afterwards each step of a job, and each job, finds the dialog
// where the last one left it, so that it does not jump while the technician watches it.
void TfrmReceiveRadio::FormShow() {
    if (placed_)
        move(lastPlace_);
    else
        CentreOnScreen(this);
    placed_ = true;
    btbtnAbort->setText(ToolkitText::Abort);
}

void TfrmReceiveRadio::hideEvent(QHideEvent* event) {
    if (!event->spontaneous()) lastPlace_ = pos();
    QDialog::hideEvent(event);
}

void TfrmReceiveRadio::btbtnAbortClick() {
    if (abort_)
        abort_();
    else
        done(WaitAborted);
}

void TfrmReceiveRadio::AddPracticeButton(std::function<void()> press) {
    pressKorbi_ = std::move(press);
    if (btnPressKorbi) return;
    // Beside the abort button there is no room for the caption; the dialog grows by a strip
    // below the group box instead, so that every other control stays where it was.
    setFixedSize(398, 260);
    btnPressKorbi = PlaceWidget<QPushButton>(this, "btnPressKorbi", 216, 218, 153, 33);
    btnPressKorbi->setText(Text(Msg::PracticePressButton));
    btnPressKorbi->show();
    connect(btnPressKorbi, &QPushButton::clicked, this, &TfrmReceiveRadio::btnPressKorbiClick);
}

void TfrmReceiveRadio::btnPressKorbiClick() {
    if (pressKorbi_) pressKorbi_();
}

void TfrmReceiveRadio::showEvent(QShowEvent* event) {
    // Restoring the minimised dialog is no new showing: it stays where the user put it.
    if (!event->spontaneous()) FormShow();
    QDialog::showEvent(event);
}

// A close request (the window manager's, Alt+F4) and Escape are the abort button: the job learns
// that the user ended the wait.
void TfrmReceiveRadio::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (isVisible()) btbtnAbortClick();
}

void TfrmReceiveRadio::reject() {
    btbtnAbortClick();
}
