#pragma once
// One connection to the local journal database (SQLite, through Qt SQL) in the data folder. A
// company's PostgreSQL server (record/journalserver.h) holds the same tables: both are brought to
// this program's version on first use (record/journalschema.h). Connections are named per object,
// so that the window, a dialog and a thread never share one.

#include <QByteArray>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <optional>

#include "files/secrets.h"
#include "record/journal.h"

// A line as the database holds it: the text columns in column order, the time in seconds since
// the epoch for filters and order, the 256 bytes (empty: none), and a key that is unique
// everywhere, so that a line sent twice is stored once.
// In fields, the outcome column holds the outcome's stable code; messageId is the catalogue id
// of a failure.
struct JournalRow {
    QString lineId;
    QStringList fields;
    qint64 timeUtc = 0;
    QByteArray image;
    int messageId = 0;
    bool codeGivenAgain = false;
};

// The row of a new line; its key is fresh.
JournalRow RowOfEntry(const JournalEntry& entry);

class JournalDb {
  public:
    JournalDb();
    ~JournalDb();
    JournalDb(const JournalDb&) = delete;
    JournalDb& operator=(const JournalDb&) = delete;

    // Opens the SQLite file at path; a missing one is made whole under a temporary name and
    // then put in place, so that no program ever sees a half-made record. It is made with the
    // group's write permission when the umask grants it, for a folder shared by a team. A path
    // that is no regular file (or a link of another user's) is refused before SQLite sees it,
    // without blocking. False with a German cause.
    bool OpenLocal(const QString& path, QString* cause);
    // The record's version was newer than this program knows: it was neither read nor written.
    bool IsNewer() const { return newer_; }

    // A write transaction. On SQLite it takes the write lock at once (BEGIN IMMEDIATE): a
    // transaction that starts reading and upgrades later is refused at once, without waiting,
    // when another program wrote in between.
    bool Begin(QString* cause);
    bool Commit(QString* cause);
    void Rollback();
    // Stores the row (inside the caller's transaction, if any); a row whose key is there
    // already is left as it is. pending: 0 for a line that is where it belongs, 1 for one that
    // waits for the company's server, 2 for one the server refused (it is not sent again).
    bool Insert(const JournalRow& row, int pending, QString* cause);
    // Stores the row in a write transaction of its own.
    bool InsertOne(const JournalRow& row, int pending, QString* cause);
    // A forward-only query on this connection (it keeps no rows behind it), prepared from sql.
    QSqlQuery Prepare(const QString& sql, QString* cause);
    QSqlDatabase& Database() { return *db_; }

    // Whether the local record is still the file at its path (it was not removed or replaced
    // since it was opened).
    bool StillAtPath() const;
    const QString& LocalPath() const { return localPath_; }

  private:
    bool Finish(const QString& shownName, QString* cause);
    bool Run(const QString& sql, QString* cause);
    QString name_;
    std::optional<QSqlDatabase> db_;
    std::optional<QSqlQuery> insert_;
    bool newer_ = false;
    QString localPath_;
    quint64 device_ = 0;
    quint64 inode_ = 0;
};

// The column names, in column order, comma-separated (for SELECT lists and INSERT).
QString JournalColumnList();
// The same for a SELECT that hands lines to people: the outcome column gives the German word.
// With read given, a column that it leaves out gives empty text, which costs the database no
// reading.
QString JournalShownColumnList(const QList<int>& read = {});

// The cause of a failed query or connection, in one line.
QString DatabaseCause(const QSqlError& error);
// The same for the local record, in German: SQLite's own texts are English.
QString LocalRecordCause(const QSqlError& error);
