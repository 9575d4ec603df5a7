#pragma once
// What the window adds when a device job ends, for a technician who watches the button rather
// than the screen: a beep (once for success, twice for failure) and, when the window is not the
// active one, a desktop notification through the freedesktop notification service when one runs.
// The job's messages pass through unchanged.

#include <QString>

#include "config/messages.h"
#include "jobs/joboutcome.h"

class Prompts;
class QWidget;

class JobFeedback : public Messages {
  public:
    // window: whose activity decides about the notification; forward: answers every message.
    JobFeedback(QWidget* window, Prompts* const& forward) : window_(window), forward_(forward) {}

    BoxAnswer ShowMessage(BoxKind kind, int textId, const QString& text,
                          BoxButtons buttons) override;
    // A job ended; text says how.
    void Ended(bool success, const QString& text);

  private:
    QWidget* window_;
    Prompts* const& forward_;
};

// Sends a desktop notification when a session bus with the notification service is there;
// false (and no error) otherwise.
bool NotifyDesktop(const QString& summary, const QString& body);
