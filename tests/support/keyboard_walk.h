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

struct HeardEvent {
    QAccessible::Event type;
    QObject* object;
    QString name;
    QString description;
};

// Records every accessibility event while it lives.
class AccessibleLog {
  public:
    AccessibleLog() {
        events().clear();
        previous_ = QAccessible::installUpdateHandler(&Record);
        QAccessible::setActive(true);
    }
    ~AccessibleLog() {
        QAccessible::installUpdateHandler(previous_);
        QAccessible::setActive(false);
    }
    static std::vector<HeardEvent>& events() {
        static std::vector<HeardEvent> heard;
        return heard;
    }
    // Whether object took the focus while named name.
    static bool Focused(QObject* object, const QString& name) {
        for (const HeardEvent& e : events())
            if (e.type == QAccessible::Focus && e.object == object && e.name == name) return true;
        return false;
    }

  private:
    static void Record(QAccessibleEvent* event) {
        QAccessibleInterface* face = event->accessibleInterface();
        events().push_back({event->type(), event->object(),
                            face ? face->text(QAccessible::Name) : QString(),
                            face ? face->text(QAccessible::Description) : QString()});
    }
    QAccessible::UpdateHandler previous_ = nullptr;
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
