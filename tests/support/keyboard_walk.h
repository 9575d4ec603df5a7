#pragma once
// A dialog as a keyboard-only user and a screen reader meet it. The offscreen platform has no
// accessibility bus, so no event leaves the program: a test reads the accessible state that
// Qt's events announce (the focus and the name of what holds it, a control's description).

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <iostream>
#include <vector>

inline bool HeardFocused(QObject* object, const QString& name) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    return face && face->state().focused && face->text(QAccessible::Name) == name;
}

// The description of control each time its dialog is shown, as a reader hears it then.
struct DescriptionsOnShow : QObject {
    DescriptionsOnShow(QWidget* dialog, QWidget* control) : control(control) {
        dialog->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show)
            heard << QAccessible::queryAccessibleInterface(control)->text(QAccessible::Description);
        return false;
    }
    QWidget* control;
    QStringList heard;
};

// Tab from start until the focus comes back (or stays where it was: a trap), start first.
inline std::vector<QWidget*> TabStops(QWidget* start) {
    std::vector<QWidget*> stops{start};
    start->setFocus(Qt::TabFocusReason);
    for (QWidget* before = start; stops.size() < 100; before = stops.back()) {
        QTest::keyClick(before, Qt::Key_Tab);
        QWidget* now = QApplication::focusWidget();
        if (!now || now == start || now == before) break;
        stops.push_back(now);
    }
    return stops;
}

// Tab from start reaches every shown, enabled button of top (of radio buttons the ticked one);
// the stops are printed as the record of the walk.
inline void ExpectTabReachesEveryButton(QWidget* top, QWidget* start) {
    top->show();
    top->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(top));
    const std::vector<QWidget*> stops = TabStops(start);
    QStringList names;
    for (QWidget* stop : stops) names << stop->objectName();
    for (QAbstractButton* b : top->findChildren<QAbstractButton*>()) {
        const bool radio = qobject_cast<QRadioButton*>(b);
        if (b->isVisible() && b->isEnabled() && (b->focusPolicy() & Qt::TabFocus) &&
            (!radio || b->isChecked()))
            EXPECT_NE(std::find(stops.begin(), stops.end(), b), stops.end())
                << b->objectName().toStdString() << " not in " << names.join(' ').toStdString();
    }
    std::cout << top->objectName().toStdString() << ": " << stops.size()
              << " Tab stops: " << names.join(' ').toStdString() << '\n';
}
