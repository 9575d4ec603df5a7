#include "app/accesskeys.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

namespace {

QString WithoutAccessKey(QString text) {
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

// A click released over a check box's label clicks the box: enabled boxes only, and only with
// the button that clicks boxes.
class LabelClicksBox : public QObject {
  public:
    LabelClicksBox(QLabel* label, QCheckBox* box) : QObject(label), box_(box) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* label = static_cast<QLabel*>(watched);
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton &&
                label->rect().contains(mouse->position().toPoint()) && box_->isEnabled()) {
                box_->setFocus(Qt::MouseFocusReason);
                box_->click();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QCheckBox* box_;
};

}  // namespace

QString WithAccessKey(const QString& text, char key) {
    if (key == 0 || text.contains(QLatin1Char('&'))) return text;
    const int at = text.indexOf(QLatin1Char(key), 0, Qt::CaseInsensitive);
    if (at < 0) return text;
    return text.left(at) + QLatin1Char('&') + text.mid(at);
}

void TieLabel(QLabel* label, QWidget* control) {
    // Tying a label again to its control changes nothing.
    if (!label || !control || label->buddy() == control) return;
    label->setBuddy(control);
    if (auto* box = qobject_cast<QCheckBox*>(control))
        label->installEventFilter(new LabelClicksBox(label, box));
}

void NameControl(QWidget* control, const QString& name, const QString& description) {
    if (!control) return;
    control->setAccessibleName(WithoutAccessKey(name));
    control->setAccessibleDescription(WithoutAccessKey(description));
}
