#pragma once
// Writing a series of devices, one after the other, with the same configuration: the rules that
// the window's series dialog and korbi-cli's write --repeat share. A failure of one device does
// not end the series; a failure that no further device can change does, and so do the user's
// abort, the count reached and a code list used up.

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "jobs/devicejobs.h"
#include "jobs/joboutcome.h"
#include "record/codereservations.h"
#include "record/journal.h"
#include "record/journalstore.h"

// Hands out the new radio ID codes of a series. The series takes one code per device and tells
// what became of it: Used once the LPX took the write that carries it (the device may hold it
// from then on, whatever the job's end), Released when no device took it.
class SeriesCodes {
  public:
    virtual ~SeriesCodes() = default;
    // The next code free for a device; empty when none is left.
    virtual QString Next() = 0;
    virtual void Used(const QString& code) = 0;
    virtual void Released(const QString& code) = 0;
    // Whether Next handed out nothing because the codes can no longer be asked for (a server
    // that was lost), rather than because the list is used up.
    virtual bool Lost() const { return false; }
};

// A list of codes in order, each free unless the record shows it on a device already (a line
// then tells that it was skipped). A released code goes to the next device.
class CodeListCodes : public SeriesCodes {
  public:
    // record may be empty: no code is then known as used. Only its local record is asked: with
    // a company's server, that holds the lines still waiting for it.
    CodeListCodes(QStringList codes, const JournalTarget& record,
                  std::function<void(const QString&)> line);
    QString Next() override;
    void Used(const QString&) override {}
    void Released(const QString& code) override { released_.prepend(code); }

  private:
    QStringList codes_;
    QStringList released_;
    int next_ = 0;
    std::unique_ptr<JournalReader> journal_;
    std::function<void(const QString&)> line_;
};

// The codes of a list as a company hands them out: a code the local record shows is skipped,
// and every other one is reserved on the company's server before its device is asked, so that
// of two stations only one gets it. A code the server shows on a device or another station holds
// is skipped as well. A used code stays reserved for good; a released one is free again.
class ReservedCodes : public SeriesCodes {
  public:
    // reservations is open.
    ReservedCodes(QStringList codes, const JournalTarget& record,
                  std::unique_ptr<CodeReservations> reservations,
                  std::function<void(const QString&)> line);
    QString Next() override;
    void Used(const QString& code) override;
    void Released(const QString& code) override;
    bool Lost() const override { return lost_; }

  private:
    CodeListCodes local_;
    std::unique_ptr<CodeReservations> reservations_;
    std::function<void(const QString&)> line_;
    bool lost_ = false;
};

struct SeriesPlan {
    int count = 0;  // devices to write; 0: until the user stops
    bool verify = false;
    // The new radio ID codes in order; empty: every device keeps its own code, unless newCode
    // names the code of a series of one device.
    QStringList codes;
    QString newCode;
    // The room of each code, as its list names it: the record keeps it with the device's line.
    QHash<QString, QString> rooms;
    // Hands out the new codes in place of the list when given (not owned).
    SeriesCodes* codeSource = nullptr;
    // With a company's server that cannot be asked, give the codes by the local record alone
    // without asking the user.
    bool offlineCodes = false;
};

// One device of the series as its outcome tells it.
struct SeriesDevice {
    int number = 0;
    JobOutcome outcome;
    // A later press wrote the same device as asked: this failure is mended.
    bool mended = false;
    // Written as asked (and checked when asked).
    bool Done() const { return outcome.Complete(); }
};

enum class SeriesEnd {
    Complete,      // the count was reached (or the user stopped an open series between devices)
    Stopped,       // the user aborted a device
    CodesUsedUp,   // no code of the list is left
    Unchangeable,  // a failure that every further device would meet as well
    NoCodeServer,  // the company's server could not be asked about the codes
};

// Told from the thread the series runs on.
class SeriesHost {
  public:
    virtual ~SeriesHost() = default;
    // Device number (from 1) of count (0: open series) is next; the wait shows it, and the code
    // the series gives it (empty: it keeps its own).
    virtual void DeviceStarting(int number, int count, const QString& code) = 0;
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

// A series is a loop of write jobs: each device's outcome decides whether the next one is asked
// for. A device whose write or check failed may be pressed again and is written again, with the
// code the series gave it; a device written as asked is refused.
class Series {
  public:
    // write: the configuration every device gets, as the view shows it.
    Series(DeviceJobs& jobs, SeriesHost& host, SeriesPlan plan, WriteRequest write)
        : jobs_(jobs), host_(host), plan_(std::move(plan)), request_(std::move(write)) {}
    Series(const Series&) = delete;
    Series& operator=(const Series&) = delete;

    // Runs the series to its end; file: the configuration file written, for the record.
    SeriesEnd Run(const QString& file = QString());
    // How the series ended; meaningful once Run returned.
    SeriesEnd End() const { return end_; }

    const QList<SeriesDevice>& Devices() const { return devices_; }
    int Written() const;
    // The devices whose write failed, unless a later press mended it.
    int Failed() const;
    int Aborted() const;
    // "Geschrieben: 3, fehlgeschlagen: 0, abgebrochen: 0"
    QString SummaryLine() const;

  private:
    // The next device's code, or why there is none: the series then ends.
    std::optional<SeriesEnd> HandOutCode();
    // Counts the device's outcome: whether the series ends after it, and how.
    std::optional<SeriesEnd> DeviceEnded(const JobOutcome& outcome);
    QString DeviceLine(const SeriesDevice& device) const;
    // Whether the series ends after this device's failure, and how.
    std::optional<SeriesEnd> EndAfter(const JobOutcome& outcome);
    // The codes of plan_.codes: reserved on the company's server when one is named. False when
    // the server cannot be asked and nobody agreed to go on without.
    bool OpenListCodes();

    DeviceJobs& jobs_;
    SeriesHost& host_;
    SeriesPlan plan_;
    WriteRequest request_;
    QList<SeriesDevice> devices_;
    // The codes of devices written as asked: such a device is refused when pressed again.
    QSet<QString> done_;
    // The series code of each device whose write went out and failed, by the codes it may carry.
    QHash<QString, QString> mend_;
    JobFailure lastFailure_;
    std::unique_ptr<SeriesCodes> listCodes_;
    SeriesCodes* codes_ = nullptr;  // the codes handed out, when the series gives codes
    QString code_;                  // the code handed out for the device asked for now
    SeriesEnd end_ = SeriesEnd::Complete;
};
