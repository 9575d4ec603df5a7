#pragma once
// What the main window shows besides the settings: the LPX indicator on the right of the status
// line, the practice banner, and a settings view that scrolls when the screen is too small for
// the window. The settings view itself and its positions stay as they are.

#include <QLabel>
#include <memory>

#include "app/environment.h"

class LpxPortWatch;
class QMainWindow;

// The status line's permanent field: "LPX: verbunden (...)", "nicht gefunden", "keine
// Berechtigung" (the remedy as tooltip), updated when a converter is plugged in or out; with
// --port that device and whether it can be opened; in practice mode "LPX: Übung" and no watch.
// The ports are looked at once the window has been drawn; the field is empty until then.
class LpxIndicator : public QLabel {
  public:
    // port: the device named by --port, whose status is shown instead of the converter's.
    LpxIndicator(bool practice, const QString& port, QWidget* parent);
    ~LpxIndicator() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void StartWatch();

    QString port_;
    bool watchPending_ = false;  // the watch starts after the window's first paint
    std::unique_ptr<LpxPortWatch> watch_;
};

// Adds the indicator and, in practice mode, the banner; then fits the window to its screen.
void AddWindowAids(QMainWindow* window, const AppEnvironment& env);

// When the window (with its fixed-size client) is larger than the screen's available area,
// puts the client into a scroll area and lets the window fit the area; true when it did. A
// window that fits is left untouched.
bool FitWindowToScreen(QMainWindow* window);
