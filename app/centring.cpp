#include "app/centring.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void CentreOnScreen(QWidget* window) {
    const QScreen* display = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!display) return;
    const QRect area = display->geometry();
    const QSize frame = window->frameGeometry().size();
    window->move(area.left() + (area.width() - frame.width()) / 2,
                 area.top() + (area.height() - frame.height()) / 2);
}
