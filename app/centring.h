#pragma once

class QWidget;

// Places a window in the middle of its screen. The halves are cut toward zero, so a window
// larger than the screen gets a negative edge and still stays centred.
void CentreOnScreen(QWidget* window);
