#pragma once
// Text that stays readable when its control is disabled.

#include <QColor>
#include <QPalette>

// The contrast ratio of two colours by their relative luminance, from 1 (same) to 21.
double ContrastRatio(const QColor& a, const QColor& b);

// The palette with each disabled text colour moved toward its active one just far enough to
// stand out from its disabled background by minimumRatio. Disabled controls keep a paler text
// than enabled ones, yet the values they show (counters, versions, the current code) can be
// read.
QPalette WithReadableDisabledText(QPalette palette, double minimumRatio = 4.5);
