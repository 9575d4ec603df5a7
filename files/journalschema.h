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

// Brings the record to JournalSchemaVersion(). Newer: *storedVersion holds the record's version
// and nothing was changed. Failed: *cause says why (German), and nothing was changed either.
SchemaResult UpgradeJournalSchema(QSqlDatabase& db, bool server, int* storedVersion,
                                  QString* cause);
