#pragma once
// The forms are laid out in pixels, as they were designed: every child is created with the name
// of its member and put at its place in one step.

#include <QWidget>

template <class W>
W* PlaceWidget(QWidget* parent, const char* name, int x, int y, int width, int height) {
    auto* widget = new W(parent);
    widget->setObjectName(name);
    widget->setGeometry(x, y, width, height);
    return widget;
}
