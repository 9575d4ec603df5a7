#pragma once
// Labels tied to their controls, for the keyboard and for screen readers: the access key (the
// underlined letter, Alt plus the letter focuses the control or ticks a check box), the name a
// screen reader speaks for the control, and a click on a check box's label that ticks it as a
// click on the box would.

#include <QString>

class QLabel;
class QWidget;

// text with its first letter key (either case) marked as access key ("Anzahl &kurzer ...");
// text unchanged when it holds no such letter or key is 0.
QString WithAccessKey(const QString& text, char key);

// Makes control the label's buddy; a click on the label of a check box ticks or clears it.
void TieLabel(QLabel* label, QWidget* control);

// The name a screen reader speaks for control (the label's words, without the access key's
// mark) and what it adds on request (where the control stands, e.g. its group's title).
void NameControl(QWidget* control, const QString& name, const QString& description = {});
