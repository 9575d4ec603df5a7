#pragma once
// Keeps device jobs from nesting. A job lets pending window messages run before it shows its
// wait dialog; a click queued during the blocking exchanges before it would otherwise start a
// second job on the adapter the first one holds open.

#include <QObject>
#include <QVariant>

class JobGuard {
  public:
    explicit JobGuard(QObject& owner) : owner_(owner), acquired_(!Busy(owner)) {
        if (acquired_) owner_.setProperty(kProperty, true);
    }
    ~JobGuard() {
        if (acquired_) owner_.setProperty(kProperty, QVariant());
    }
    JobGuard(const JobGuard&) = delete;
    JobGuard& operator=(const JobGuard&) = delete;

    // False when another job of the same owner is running; the caller then does nothing.
    bool Acquired() const { return acquired_; }
    static bool Busy(const QObject& owner) { return owner.property(kProperty).toBool(); }

  private:
    static constexpr const char* kProperty = "deviceJobRunning";
    QObject& owner_;
    bool acquired_;
};
