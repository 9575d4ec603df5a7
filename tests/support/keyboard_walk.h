#pragma once
// A dialog as a keyboard-only user and a screen reader meet it: the Tab stops from a start
// control round to it again, and the accessibility events the program sends meanwhile, as the
// AT-SPI bridge would pass them on.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QRadioButton>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <iostream>
#include <vector>

// Whether a screen reader hears object now as focused and named name. (Qt sends the focus event
// with every focus change in the active window; the offscreen platform has no accessibility bus,
// so a test reads the state that the event announces.)
inline bool HeardFocused(QObject* object, const QString& name) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    return face && face->state().focused && face->text(QAccessible::Name) == name;
}

// The descriptions of a control each time its dialog is shown: what a screen reader hears with
// the focus when the dialog opens.
class DescriptionsOnShow : public QObject {
  public:
    DescriptionsOnShow(QWidget* dialog, QWidget* control) : control_(control) {
        dialog->installEventFilter(this);
    }
    QStringList heard;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show)
            heard << QAccessible::queryAccessibleInterface(control_)->text(
                QAccessible::Description);
        return false;
    }

  private:
    QWidget* control_;
};

// Presses Tab from start until the focus comes back to it (at most 100 presses); the controls
// met on the way, start first. A control that keeps the focus ends the walk early: the trap
// shows as missing stops.
inline std::vector<QWidget*> TabStops(QWidget* start) {
    std::vector<QWidget*> stops{start};
    start->setFocus(Qt::TabFocusReason);
    for (int press = 0; press < 100; ++press) {
        QWidget* before = QApplication::focusWidget();
        if (!before) break;
        QTest::keyClick(before, Qt::Key_Tab);
        QWidget* now = QApplication::focusWidget();
        if (now == start || now == before) break;
        stops.push_back(now);
    }
    return stops;
}

// The buttons a keyboard user must reach in top: shown, enabled, taking Tab; of a group of radio
// buttons the ticked one.
inline std::vector<QAbstractButton*> ButtonsToReach(QWidget* top) {
    std::vector<QAbstractButton*> buttons;
    for (QAbstractButton* b : top->findChildren<QAbstractButton*>()) {
        if (!b->isVisible() || !b->isEnabled() || !(b->focusPolicy() & Qt::TabFocus)) continue;
        if (qobject_cast<QRadioButton*>(b) && !b->isChecked()) continue;
        buttons.push_back(b);
    }
    return buttons;
}

// Tab from start reaches every button of top, and goes round; the stops are printed for the
// record of the walk.
inline void ExpectTabReachesEveryButton(QWidget* top, QWidget* start) {
    top->show();
    top->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(top));
    const std::vector<QWidget*> stops = TabStops(start);
    QStringList names;
    for (QWidget* stop : stops) names << stop->objectName();
    for (QAbstractButton* button : ButtonsToReach(top))
        EXPECT_NE(std::find(stops.begin(), stops.end(), button), stops.end())
            << top->objectName().toStdString() << ": Tab never reaches "
            << button->objectName().toStdString() << " (" << names.join(' ').toStdString() << ")";
    std::cout << top->objectName().toStdString() << ": " << stops.size()
              << " Tab stops: " << names.join(' ').toStdString() << '\n';
}
