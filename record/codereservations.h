#pragma once
// The company's record decides which radio ID code a device may get: before the device is asked
// to take a code, the code is reserved on the journal server, in one statement under a unique
// constraint, so that of two stations reserving the same code at the same moment exactly one gets
// it. A code that the record shows on a device (before or after a job) or that another station
// reserved is never handed out. A code whose device failed is released; one the device took is
// marked used and stays taken.

#include <QString>
#include <memory>

#include "record/journalserver.h"

enum class CodeClaim {
    Reserved,     // the code is this station's now
    Free,         // (Check) no device carries it and no station holds it
    Taken,        // a device carries it, or another station reserved it
    Unavailable,  // the server could not be asked (Cause says why)
};

class CodeReservations {
  public:
    CodeReservations();
    ~CodeReservations();
    // Connects to the server; false when it cannot be asked.
    bool Open(const QString& address);
    CodeClaim Reserve(const QString& code);
    // The device did not take the code: another device may have it.
    bool Release(const QString& code);
    // The device took the code.
    bool MarkUsed(const QString& code);
    // Whether a device carries the code or a station reserved it: Taken, Free or Unavailable.
    CodeClaim Check(const QString& code);
    // Reserves a code that the record shows on a device, to give it again (a replaced device):
    // only a reservation of another station stops it.
    CodeClaim ReserveAgain(const QString& code);
    // Who holds the code: the reservation (station, time, whether a device took it) and the
    // newest line of the record that names it. False when the server could not be asked.
    struct Holder {
        QString station;  // of the reservation; empty when there is none
        qint64 timeUtc = 0;
        bool used = false;
        bool mine = false;  // this station's own reservation
        QStringList line;   // time, code before, code after, login@host, production date
        qint64 lineTimeUtc = 0;
    };
    bool FindHolder(const QString& code, Holder* holder);
    // Why the server could not be asked, in German.
    QString Cause() const;

  private:
    // Runs a reservation's INSERT: Reserved when it took the code for this station.
    CodeClaim Insert(const char* sql, const QString& code);
    std::unique_ptr<JournalServer> server_;
    // Who holds a reservation: login, host, process and object, so that two series in one
    // process are two stations too.
    QString station_;
};
