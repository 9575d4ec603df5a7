#pragma once
// A window's job runs on its job thread and tells the window's event loop what to show: a test
// that starts one lets the loop run until the job (and a series of jobs) has ended.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <functional>

#include "app/windowjobs.h"

// Lets events run until done() holds; a minute without is a failure, never a hang.
inline void RunEventsUntil(const std::function<bool()>& done) {
    QDeadlineTimer deadline(60000);
    // Sleeps between events; the beat wakes it to look at the deadline.
    QTimer beat;
    beat.start(100);
    while (!done()) {
        if (deadline.hasExpired()) {
            ADD_FAILURE() << "the job did not end";
            return;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

inline void FinishJob(const WindowJobs& jobs) {
    RunEventsUntil([&jobs] { return !jobs.Running(); });
}

// The jobs record their lines in the local record at path.
inline void UseRecord(WindowJobs& jobs, const QString& path) {
    JobRecord record = jobs.Record();
    record.path = path;
    jobs.SetRecord(record);
}
