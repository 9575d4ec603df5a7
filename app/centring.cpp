#include "app/centring.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

// Before a window is first shown its frame is unknown; a title bar takes about this much, and
// the borders on both sides together about this.
constexpr int kTitleBarAllowance = 32;
constexpr int kBorderAllowance = 8;

}  // namespace

void CentreOnScreen(QWidget* window) {
    const QScreen* display = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!display) return;
    const QRect area = display->geometry();
    const QSize frame = window->frameGeometry().size();
    window->move(area.left() + (area.width() - frame.width()) / 2,
                 area.top() + (area.height() - frame.height()) / 2);
    KeepInsideArea(window, display->availableGeometry());
}

void KeepInsideArea(QWidget* window, const QRect& area) {
    const QRect frame = window->frameGeometry();
    if (frame.width() > area.width() || frame.height() > area.height()) return;
    const int left = qBound(area.left(), frame.left(), area.right() + 1 - frame.width());
    const int top = qBound(area.top(), frame.top(), area.bottom() + 1 - frame.height());
    if (left != frame.left() || top != frame.top())
        window->move(window->pos() + QPoint(left - frame.left(), top - frame.top()));
}

QSize FrameAllowance(const QWidget* window) {
    if (window->isVisible() && window->frameGeometry() != window->geometry())
        return window->frameGeometry().size() - window->geometry().size();
    return QSize(kBorderAllowance, kTitleBarAllowance);
}

void BoundToScreen(QWidget* window) {
    const QScreen* display = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!display) return;
    const QSize room = display->availableGeometry().size() - FrameAllowance(window);
    window->resize(window->size().boundedTo(room).expandedTo(window->minimumSizeHint()));
}
