#pragma once
// Work that can wait until a window has been drawn for the first time: the window shows as
// soon as it can, and what the user does not need in the first moment follows right after.

#include <functional>

class QObject;
class QWidget;

// Runs work once, on the event loop right after the first expose of window's native window
// (which must exist: call after show()). Nothing runs when context is destroyed first, or when
// the window is never exposed.
void AfterFirstPaint(QWidget* window, QObject* context, std::function<void()> work);
