#pragma once
// One connection to the local journal database (SQLite, through Qt SQL) in the data folder. A
// company's PostgreSQL server (files/journalserver.h) holds the same table: both are made on first
// use by the same statements, with a schema version table for later changes. Connections are named
// per object, so that the window, a dialog and a thread never share one.

#include <QByteArray>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <optional>

#include "files/journal.h"

// A line as the database holds it: the text columns in column order, the time in seconds since
// the epoch for filters and order, the 256 bytes (empty: none), and a key that is unique
// everywhere, so that a line sent twice is stored once.
struct JournalRow {
    QString lineId;
    QStringList fields;
    qint64 timeUtc = 0;
    QByteArray image;
};

// The row of a new line; its key is fresh.
JournalRow RowOfEntry(const JournalEntry& entry);

class JournalDb {
  public:
    JournalDb();
    ~JournalDb();
    JournalDb(const JournalDb&) = delete;
    JournalDb& operator=(const JournalDb&) = delete;

    // Opens (and creates) the SQLite file at path. A path that is no regular file is refused
    // before SQLite sees it, without blocking. False with a German cause.
    bool OpenLocal(const QString& path, QString* cause);

    // Stores the row in one transaction; a row whose key is there already is left as it is.
    bool Insert(const JournalRow& row, bool pending, QString* cause);
    // A forward-only query on this connection (it keeps no rows behind it), prepared from sql.
    QSqlQuery Prepare(const QString& sql, QString* cause);
    QSqlDatabase& Database() { return *db_; }

  private:
    bool Finish(QString* cause);
    bool CreateSchema(QString* cause);
    QString name_;
    std::optional<QSqlDatabase> db_;
};

// Whether text names a PostgreSQL server (postgresql:// or postgres://).
bool IsServerUri(const QString& text);
// The URI for messages: without the password, wherever it was given.
QString MaskedServer(const QString& uri);

// The statements that make the tables, for SQLite or for PostgreSQL (server), in one transaction.
QStringList JournalSchemaStatements(bool server);

// The column names, in column order, comma-separated (for SELECT lists).
QString JournalColumnList();

// The cause of a failed query or connection, in one line.
QString DatabaseCause(const QSqlError& error);
