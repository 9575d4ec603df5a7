#include "app/codedialog.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>

#include "app/accesskeys.h"
#include "app/centring.h"
#include "app/placewidget.h"
#include "app/windowjobs.h"
#include "jobs/devicejobs.h"
#include "resources/catalogue.h"

CodeChangeDialog::CodeChangeDialog(WindowJobs& jobs, QWidget* parent)
    : QDialog(parent), jobs_(jobs) {
    setObjectName("frmChangeCode");
    setFixedSize(393, 293);
    setWindowTitle(Text(Msg::ChangeCodeTitle));

    pnlChangeIdCode = PlaceWidget<QFrame>(this, "pnlChangeIdCode", 8, 8, 377, 241);
    pnlChangeIdCode->setFrameShape(QFrame::StyledPanel);
    pnlChangeIdCode->setFrameShadow(QFrame::Raised);

    pnlDelimiter = PlaceWidget<QFrame>(pnlChangeIdCode, "pnlDelimiter", 16, 184, 345, 2);
    pnlDelimiter->setFrameShape(QFrame::HLine);
    pnlDelimiter->setFrameShadow(QFrame::Sunken);

    lblNote = new QLabel(pnlChangeIdCode);
    lblNote->setObjectName("lblNote");
    lblNote->setWordWrap(true);
    lblNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblNote->setText(Text(Msg::ChangeCodeNote));
    lblNote->move(16, 16);
    lblNote->setFixedWidth(pnlDelimiter->width());

    lblNewCode = new QLabel(WithAccessKey(Text(Msg::ChangeCodeNewCodeLabel), 'N'), pnlChangeIdCode);
    lblNewCode->setObjectName("lblNewCode");
    lblNewCode->move(16, 152);
    lblNewCode->adjustSize();

    edtNewCode = new QLineEdit(pnlChangeIdCode);
    edtNewCode->setObjectName("edtNewCode");
    edtNewCode->move(296, 144);
    FitNoteAboveTheCode();
    edtNewCode->setFixedWidth(65);
    TieLabel(lblNewCode, edtNewCode);
    edtNewCode->setMaxLength(4);
    // Text from an input method arrives without a key event: keep it out of the code field.
    edtNewCode->setAttribute(Qt::WA_InputMethodEnabled, false);
    edtNewCode->installEventFilter(this);
    // Codes are hexadecimal and shown as the device and the journal write them: upper case.
    connect(edtNewCode, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (text == text.toUpper()) return;
        const int cursor = edtNewCode->cursorPosition();
        edtNewCode->setText(text.toUpper());
        edtNewCode->setCursorPosition(cursor);
    });

    btnChange = new QPushButton(WithAccessKey(Text(Msg::ChangeCodeButton), 'D'), pnlChangeIdCode);
    btnChange->setObjectName("btnChange");
    btnChange->setGeometry(214, 200, 147, 25);
    btnChange->setAutoDefault(false);
    // Enter in the code field starts the change, as the dialog's one action.
    btnChange->setDefault(true);
    connect(btnChange, &QPushButton::clicked, this, &CodeChangeDialog::onChangeClicked);

    btnClose = new QPushButton(ToolkitText::Close, this);
    btnClose->setObjectName("btnClose");
    btnClose->setGeometry(304, 256, 75, 25);
    btnClose->setAutoDefault(false);
    connect(btnClose, &QPushButton::clicked, this, &CodeChangeDialog::onCloseClicked);
}

void CodeChangeDialog::FitNoteAboveTheCode() {
    // The form was laid out for a smaller font than Linux desktops use; at theirs the note's
    // lines would run into the new code's row. Its text is set smaller until it fits.
    constexpr double kSmallestPoints = 6;
    constexpr int kGap = 4;
    const int room = std::min(lblNewCode->y(), edtNewCode->y()) - kGap - lblNote->y();
    const int width = lblNote->width();
    QFont font = lblNote->font();
    // Each height lays out the whole note; the one last measured is the one the label keeps.
    int height = lblNote->heightForWidth(width);
    while (height > room && font.pointSizeF() > kSmallestPoints) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        lblNote->setFont(font);
        height = lblNote->heightForWidth(width);
    }
    lblNote->setFixedHeight(std::min(height, room));
}

void CodeChangeDialog::FormShow() {
    CentreOnScreen(this);
    edtNewCode->clear();
}

void CodeChangeDialog::showEvent(QShowEvent* event) {
    // Restoring the minimised dialog is no new showing: the typed code and the place stay.
    if (!event->spontaneous()) FormShow();
    QDialog::showEvent(event);
}

void CodeChangeDialog::onNewCodeKeyPress(QChar& key) {
    const char16_t c = key.unicode();
    const bool hex = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    const bool editing = c == 3 || c == 8 || c == 22 || c == 24;
    if (!hex && !editing) key = QChar();
}

bool CodeChangeDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edtNewCode && event->type() == QEvent::KeyPress) {
        const auto* key_event = static_cast<QKeyEvent*>(event);
        const QString typed = key_event->text();
        // Tab, Enter, Escape and Delete move the focus, press buttons or edit, and Ctrl
        // shortcuts are commands; they are keys, not characters to filter. Ctrl with Alt is
        // AltGr on some keyboards, and that types characters.
        const Qt::KeyboardModifiers modifiers = key_event->modifiers();
        const bool shortcut = (modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier);
        const bool command =
            typed == "\t" || typed == "\r" || typed == "\n" || typed == "\x1b" || typed == "\x7f";
        if (!shortcut && !command) {
            // A key may type more than one character (a composed key): the field receives it
            // only when every one passes.
            for (QChar key : typed) {
                onNewCodeKeyPress(key);
                if (key.isNull()) return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CodeChangeDialog::onCloseClicked() {
    done(1);
}

void CodeChangeDialog::onChangeClicked() {
    if (!jobs_.Running()) jobs_.StartCodeChange({edtNewCode->text()});
}
