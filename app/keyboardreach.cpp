#include "app/keyboardreach.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QTimer>

#include "app/readability.h"

namespace {

// Ctrl+Tab is the key that leaves a control which takes Tab for itself; in a view that no longer
// does, it is Tab.
class CtrlTabLeaves : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!(key->modifiers() & Qt::ControlModifier) ||
            (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab))
            return false;
        const bool back = key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
        QKeyEvent plain(QEvent::KeyPress, back ? Qt::Key_Backtab : Qt::Key_Tab,
                        back ? Qt::ShiftModifier : Qt::NoModifier);
        QCoreApplication::sendEvent(watched, &plain);
        return true;
    }
};

// Read-only information fields keep the colours of a greyed field, taken anew when the theme
// changes.
class GreyedLook : public QObject {
  public:
    explicit GreyedLook(QLineEdit* edit) : QObject(edit), edit_(edit) { Apply(); }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (!applying_ && (type == QEvent::ApplicationPaletteChange ||
                           type == QEvent::PaletteChange || type == QEvent::ParentChange))
            Apply();
        return false;
    }

  private:
    void Apply() {
        applying_ = true;
        QPalette palette =
            edit_->parentWidget() ? edit_->parentWidget()->palette() : QApplication::palette(edit_);
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            for (const QPalette::ColorRole role : {QPalette::Base, QPalette::Text})
                palette.setColor(group, role, palette.color(QPalette::Disabled, role));
        }
        edit_->setPalette(palette);
        applying_ = false;
    }

    QLineEdit* edit_;
    bool applying_ = false;  // its own change of the palette is no change of the theme
};

constexpr int kRingWidth = 2;
constexpr int kRingMargin = 3;
// What a focus indicator needs against its background to be seen.
constexpr double kRingContrast = 3.0;

class FocusRing : public QWidget {
  public:
    FocusRing() {
        setObjectName(QStringLiteral("focusRing"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        // Nothing for a screen reader: the focused box speaks for itself.
        setAccessibleName(QStringLiteral(" "));
    }

    void Surround(QWidget* box) {
        QWidget* parent = box->parentWidget();
        if (!parent) return;
        if (parentWidget() != parent) setParent(parent);
        QRect area = box->geometry();
        // The label tied to the box: the user reads the two as one row.
        for (QLabel* label : parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            if (label->buddy() == box && label->isVisible()) area = area.united(label->geometry());
        setGeometry(area.adjusted(-kRingMargin, -kRingMargin, kRingMargin, kRingMargin));
        raise();
        show();
        update();
    }

    // The highlight colour, unless the theme makes it hard to see on the window: the text's.
    QColor Colour() const {
        const QColor highlight = palette().color(QPalette::Highlight);
        const QColor background = palette().color(QPalette::Window);
        return ContrastRatio(highlight, background) >= kRingContrast
                   ? highlight
                   : palette().color(QPalette::WindowText);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Colour(), kRingWidth));
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 3, 3);
    }
};

QPointer<FocusRing> ring;
bool ringInstalled = false;

// Check boxes, and result lines that took the focus to be heard, show no focus of their own
// that is plain to see.
bool NeedsRing(QWidget* widget) {
    return qobject_cast<QCheckBox*>(widget) || qobject_cast<QLabel*>(widget);
}

// Once the focus change is over: it may come while a window is being taken down, and the ring
// must not move into a widget that is going.
void FollowFocus(QWidget* now) {
    QTimer::singleShot(0, qApp, [widget = QPointer<QWidget>(NeedsRing(now) ? now : nullptr)] {
        if (!widget || widget != QApplication::focusWidget()) {
            if (ring) ring->hide();
            return;
        }
        if (!ring) ring = new FocusRing;
        ring->Surround(widget);
    });
}

}  // namespace

void LetTabLeave(QAbstractItemView* view) {
    view->setTabKeyNavigation(false);
    view->installEventFilter(new CtrlTabLeaves(view));
}

bool TabLeavingDateEdit::focusNextPrevChild(bool next) {
    return QWidget::focusNextPrevChild(next);
}

void ShowAsInformation(QLineEdit* edit) {
    edit->setReadOnly(true);
    edit->setEnabled(true);
    edit->setFocusPolicy(Qt::StrongFocus);
    edit->installEventFilter(new GreyedLook(edit));
}

void ShowFocusRing() {
    if (ringInstalled) return;
    ringInstalled = true;
    QObject::connect(qApp, &QApplication::focusChanged, qApp,
                     [](QWidget*, QWidget* now) { FollowFocus(now); });
    FollowFocus(QApplication::focusWidget());
}

QWidget* FocusRingShown() {
    return ring;
}

void AnnounceResult(QLabel* line, const QString& text) {
    if (text.isEmpty()) return;
    line->setText(text);
    // The line can hold the focus without being a Tab stop of its own.
    if (line->focusPolicy() == Qt::NoFocus) line->setFocusPolicy(Qt::ClickFocus);
    // After the event that ended the job: the wait dialog has gone by then. A dialog in front
    // (the series, another job's wait) keeps its focus and speaks for itself.
    QTimer::singleShot(0, line, [line] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != line->window()) return;
        line->setFocus(Qt::OtherFocusReason);
    });
}
