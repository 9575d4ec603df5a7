#pragma once
// The record's tables and their versions, the same on the local SQLite file and on a company's
// PostgreSQL server. Each version has one step that brings the record from the version before;
// opening a record runs the missing steps in order, in one transaction. A record of a version
// newer than this program knows is left exactly as it is.

#include <QSqlDatabase>
#include <QString>

enum class SchemaResult { Ready, Newer, Failed };

// The version this program writes.
int JournalSchemaVersion();

// The connection a record is upgraded on: the local file through Qt SQL, a company's server
// through libpq.
class SchemaConnection {
  public:
    virtual ~SchemaConnection() = default;
    // Runs one statement; false with a German cause.
    virtual bool Run(const QString& sql, QString* cause) = 0;
    // The highest version in schema_version, 0 for none; -1 when it cannot be read.
    virtual int StoredVersion() = 0;
};

// Brings the record to JournalSchemaVersion(). Newer: *storedVersion holds the record's version
// and nothing was changed. Failed: *cause says why (German), and nothing was changed either.
// server: the record is a PostgreSQL server's.
SchemaResult UpgradeJournalSchema(SchemaConnection& db, bool server, int* storedVersion,
                                  QString* cause);
// The same for the local SQLite file.
SchemaResult UpgradeJournalSchema(QSqlDatabase& db, int* storedVersion, QString* cause);
