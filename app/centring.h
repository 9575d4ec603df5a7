#pragma once

class QRect;
class QSize;
class QWidget;

// Places a window in the middle of its screen. The halves are cut toward zero, so a window
// larger than the screen gets a negative edge and still stays centred.
void CentreOnScreen(QWidget* window);

// Moves a window whose frame fits into area (a screen's free part, without panels and docks)
// inside it, by as little as it takes; a window that does not fit is left where it is.
void KeepInsideArea(QWidget* window, const QRect& area);

// What the window manager's frame adds to a window: the real frame once the window is framed,
// before that as much as a title bar and two borders take.
QSize FrameAllowance(const QWidget* window);

// Makes a resizable dialog no larger than its screen's free area leaves room for.
void BoundToScreen(QWidget* window);
