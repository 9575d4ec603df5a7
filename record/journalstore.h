#pragma once
// Where the journal's lines go and where they are read: the local record (SQLite in the data
// folder) and, for a company, a PostgreSQL server. With a server, a line that cannot reach it
// stays in the local record, marked pending, and a later job sends it: nothing is lost, and no
// job waits on the network for more than a few seconds. A journal that fails never stops a job.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <memory>

#include "record/journal.h"
#include "record/journaldb.h"
#include "record/journalquery.h"
#include "record/journalserver.h"

struct JournalTarget {
    QString localPath;  // Protokoll.sqlite in the data folder; empty: no journal at all
    QString serverUri;  // postgresql://...; empty: the local record is the journal
};

// The key of Values.ini's section "Setup" that names the company's server.
constexpr const char* kJournalServerKey = "JournalServer";
// The environment variable that names it, before Values.ini.
constexpr const char* kJournalServerVariable = "KORBI_JOURNAL";

// The server named by KORBI_JOURNAL or else by Values.ini; empty for none.
QString ConfiguredJournalServer(const QString& applicationDataFolder);

// Stores the entry (stamped with login, host and program version). warning stays empty when the
// line reached the journal as intended; otherwise it holds the German text for the user. False
// only when the line could not be stored anywhere.
bool AppendJournal(const JournalTarget& target, const JournalEntry& entry, QString* warning);

// Sends the pending lines of the local record to the server: the number that this call stored
// there, or -1 with a German error. A line whose values the server refuses is set aside, named in
// setAside, and the others are sent.
int SyncJournal(const JournalTarget& target, QString* error, QStringList* setAside = nullptr);

// The name of the journal for messages: the local file or the server without its password.
QString JournalName(const JournalTarget& target);

// Which lines a listing shows.
struct JournalFilter {
    // One to four hexadecimal digits: four name a device (before or after the job, any case),
    // fewer any code that holds them. Empty: every line.
    QString device;
    QDateTime since;  // from this point on; invalid: from the first line
    QDateTime until;  // up to this point, itself included; invalid: to the last line
    QString site;     // the lines of this site alone (exactly as given); empty: every site
};

// Whether text is one to four hexadecimal digits (a device filter).
bool IsDeviceFilter(const QString& text);

// Lines read from the journal one at a time, as the database hands them out: memory does not
// grow with the record. The filters use the indexes: a device code and a point in time.
class JournalReader {
  public:
    JournalReader();
    ~JournalReader();
    JournalReader(JournalReader&&) noexcept;
    JournalReader& operator=(JournalReader&&) noexcept;

    // Opens the server when one is named (sending pending lines first), else the local record.
    // False with a German error.
    // warning, when given, gets what went wrong on the way that did not stop the reading (an old
    // journal that could not be taken over).
    bool Open(const JournalTarget& target, QString* error, QString* warning = nullptr);
    // Opens the local record of target even when target names a server: it holds the lines
    // still waiting for the server. False with a German error.
    bool OpenLocalRecord(const JournalTarget& target, QString* error, QString* warning = nullptr);
    // Runs the query, oldest first; Next then hands out the lines one by one. With columns, the
    // other columns' fields are empty.
    bool Select(const JournalFilter& filter, QString* error, const QList<int>& columns = {});
    bool Select(const QString& deviceCode, const QDateTime& since, QString* error);
    // A page for a table: at most limit lines, newest first, older than the line `before` (all
    // for an invalid one).
    struct LineKey {
        qint64 timeUtc = 0;
        qint64 id = -1;
    };
    bool SelectPage(const JournalFilter& filter, const LineKey& before, int limit, QString* error);
    bool SelectPage(const QString& deviceCode, const LineKey& before, int limit, QString* error);
    // The next line's fields in column order, the outcome as its German word.
    bool Next(QStringList* fields);
    // The same without making strings: Field then gives each column as UTF-8, until the next
    // call. error, when given, says what stopped the reading before the last line.
    bool NextLine(QString* error = nullptr);
    QByteArrayView Field(int column) const;
    // Whether the last NextLine or Next ended on a failure rather than at the end; error then
    // gets the German text.
    bool Failed(QString* error) const;
    // Of the line handed out last: its time, the stored outcome code and catalogue id.
    qint64 TimeUtc() const;
    QByteArrayView OutcomeCode() const;
    int MessageId() const;
    // Of the line handed out last: its key, and whether it holds a configuration.
    LineKey Key() const;
    bool HasImage() const;
    // How many lines the filter lets through; -1 with a German error.
    qint64 Count(const JournalFilter& filter, QString* error);
    // The 256 bytes of the line with this id; empty when it has none.
    QByteArray ImageOfLine(qint64 id);
    // The configuration of the newest job on the device (code after the job, any case) that did
    // what it was asked: a read's image as it is saved, a write's image as it was sent. Empty
    // when none is recorded; timeText then names its line's time.
    // A device that got its code by a change is followed to the code it had before, newest
    // change first; *recordedCode is the code the configuration was recorded under.
    QByteArray LatestImage(const QString& deviceCode, QString* timeText, QString* error,
                           QString* recordedCode = nullptr);
    // The journal's name for messages.
    const QString& Name() const { return name_; }

  private:
    bool Run(const JournalFilter& filter, const LineKey& before, int limit, QString* error,
             const QList<int>& columns = {});
    // A query of its own for a single look-up, so that a listing in progress goes on undisturbed.
    std::unique_ptr<JournalQuery> LookUp(QString* cause);
    std::unique_ptr<JournalServer> server_;
    // A second connection to the server for look-ups while a listing streams on the first.
    std::unique_ptr<JournalServer> lookUpServer_;
    std::unique_ptr<JournalQuery> query_;
    QString localPath_;
    QString serverUri_;
    QString name_;
    QString failure_;
};
