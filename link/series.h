#pragma once
// Writing a series of devices, one after the other, with the same configuration: the rules that
// the window's series dialog and korbi-cli's write --repeat share. A failure of one device does
// not end the series; a failure that no further device can change does, and so do the user's
// abort, the count reached and a code list used up.

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

#include "files/codereservations.h"
#include "files/journal.h"
#include "files/journalstore.h"

class DeviceJobs;
class SettingsModel;

struct SeriesPlan {
    int count = 0;  // devices to write; 0: until the user stops
    bool verify = false;
    QStringList codes;  // the new radio ID codes in order; empty: every device keeps its own
    // With a company's server that cannot be asked, give the codes by the local record alone.
    bool offlineCodes = false;
};

// One device of the series as its journal line tells it.
struct SeriesDevice {
    int number = 0;
    QString codeBefore;
    QString codeAfter;
    JournalOutcome outcome = JournalOutcome::Ok;
    int messageId = 0;
    QString verifyOutcome;  // a journal verify word, empty without a verify
    // Written as asked (and verified when asked).
    bool Done() const {
        return outcome == JournalOutcome::Ok &&
               verifyOutcome != QString::fromUtf8(kNotVerifiedWord);
    }
};

enum class SeriesEnd {
    Complete,      // the count was reached (or the user stopped an open series between devices)
    Stopped,       // the user aborted a device
    CodesUsedUp,   // no code of the list is left
    Unchangeable,  // a failure that every further device would meet as well
    NoCodeServer,  // the company's server could not be asked about the codes
};

class SeriesHost {
  public:
    virtual ~SeriesHost() = default;
    // Device number (from 1) of count (0: open series) is next; the wait shows it.
    virtual void DeviceStarting(int number, int count) = 0;
    // A line of the series' report: a device's result, a skipped code, why the series ended.
    virtual void SeriesLine(const QString& line) = 0;
    // The user wants the series to end before the next device.
    virtual bool StopRequested() { return false; }
    // The company's server cannot be asked about the codes (question says so and what going on
    // risks): whether the series goes on by the local record alone.
    virtual bool GoOnWithLocalCodes(const QString& question) {
        (void)question;
        return false;
    }
};

class Series {
  public:
    Series(DeviceJobs& jobs, SettingsModel& settings, SeriesHost& host, SeriesPlan plan)
        : jobs_(jobs), settings_(settings), host_(host), plan_(std::move(plan)) {}
    SeriesEnd Run();

    const QList<SeriesDevice>& Devices() const { return devices_; }
    int Written() const;
    int Failed() const;
    int Aborted() const;
    // "Geschrieben: 3, fehlgeschlagen: 0, abgebrochen: 0"
    QString SummaryLine() const;

  private:
    // Where the codes are looked up: the local record, and the company's server when one is
    // named. False when the series must not start.
    bool OpenCodeRecords();
    // The next code of the list that the journal shows on no device yet and that this station
    // could reserve on the server; empty when none is left or the server is gone.
    QString NextCode();
    QString DeviceLine(const SeriesDevice& device) const;

    DeviceJobs& jobs_;
    SettingsModel& settings_;
    SeriesHost& host_;
    SeriesPlan plan_;
    QList<SeriesDevice> devices_;
    int nextCode_ = 0;
    // The local record, asked by code through its index; none when it could not be opened.
    std::unique_ptr<JournalReader> journal_;
    // The company's server, which reserves each code before its device is asked.
    std::unique_ptr<CodeReservations> reservations_;
    bool serverLost_ = false;
};

// A job failure after which the next device would fail alike (the LPX, or the configuration's
// own checks that no device changes).
bool EndsTheSeries(const JournalEntry& job);
