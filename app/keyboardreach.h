#pragma once
// What keeps every control reachable by the keyboard and plain to see and hear: Tab that leaves
// tables and date fields, a focus ring around a check box and its label, read-only fields that
// still take the focus, and a result line that a screen reader speaks when a job has ended.

#include <QDateEdit>
#include <QString>

class QAbstractItemView;
class QLabel;
class QLineEdit;
class QWidget;

// Tab and Shift+Tab (with Ctrl too) move on to the next control instead of from cell to cell;
// the arrow keys still move between the cells.
void LetTabLeave(QAbstractItemView* view);

// A date field that Tab leaves: its day, month and year are chosen with the arrow keys and the
// mouse, not with Tab, which would keep the focus in the field.
class TabLeavingDateEdit : public QDateEdit {
  public:
    using QDateEdit::QDateEdit;

  protected:
    bool focusNextPrevChild(bool next) override;
};

// A field that shows what the device told (its code, counters, version): read-only, drawn greyed
// like a field that cannot be changed, but reachable by Tab so that its value can be heard.
void ShowAsInformation(QLineEdit* edit);

// While a check box or a result line has the focus, a ring in the palette's highlight colour
// stands around it and the label tied to it, in any style and colour theme. Installed once for
// the whole application; later calls do nothing.
void ShowFocusRing();
// The ring's widget, for tests: visible only while it surrounds the focus.
QWidget* FocusRingShown();

// The result of a job as a screen reader hears it: line shows text (its name is its text) and
// takes the focus once no other dialog stands in front of its window, so that the reader speaks
// it. An empty text changes nothing.
void AnnounceResult(QLabel* line, const QString& text);
