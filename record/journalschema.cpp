#include "record/journalschema.h"

#include <QSqlQuery>
#include <algorithm>

#include "record/journaldb.h"

namespace {

// One row a version: the statements (separated by ";") that bring the record to it from the
// version before. %KEY% and %BYTES% stand for the column types that the two databases name
// differently. A new version is a new row at the end.
struct SchemaStep {
    int version;
    const char* statements;
};
const SchemaStep kSteps[] = {
    {1,
     "CREATE TABLE IF NOT EXISTS journal (id %KEY%, line_id TEXT NOT NULL UNIQUE, "
     "time TEXT NOT NULL, time_utc BIGINT NOT NULL, job TEXT NOT NULL, "
     "code_before TEXT NOT NULL, code_after TEXT NOT NULL, firmware_version TEXT NOT NULL, "
     "production_date TEXT NOT NULL, file_name TEXT NOT NULL, sha256 TEXT NOT NULL, "
     "outcome TEXT NOT NULL, program TEXT NOT NULL, verify_sha256 TEXT NOT NULL, "
     "login_name TEXT NOT NULL, host_name TEXT NOT NULL, program_version TEXT NOT NULL, "
     "image %BYTES%, pending INTEGER NOT NULL DEFAULT 0);"
     "CREATE INDEX IF NOT EXISTS journal_code_before ON journal (upper(code_before));"
     "CREATE INDEX IF NOT EXISTS journal_code_after ON journal (upper(code_after));"
     "CREATE INDEX IF NOT EXISTS journal_time ON journal (time_utc, id);"
     "CREATE INDEX IF NOT EXISTS journal_pending ON journal (id) WHERE pending = 1"},
    // Outcomes as stable codes with the catalogue id beside them; the words that version 1
    // stored are turned into their codes.
    {2,
     "ALTER TABLE journal ADD COLUMN message_id INTEGER NOT NULL DEFAULT 0;"
     "UPDATE journal SET message_id = CAST(substr(outcome, 8) AS INTEGER), outcome = 'failed' "
     "WHERE outcome LIKE 'Fehler %' AND length(outcome) > 7 "
     "AND ltrim(substr(outcome, 8), '0123456789') = '';"
     "UPDATE journal SET outcome = CASE outcome WHEN 'Fehler' THEN 'failed' "
     "WHEN 'abgebrochen' THEN 'aborted' WHEN 'geprüft' THEN 'checked' "
     "WHEN 'Prüfung fehlgeschlagen' THEN 'check-failed' "
     "WHEN 'nicht geprüft' THEN 'not-checked' ELSE outcome END"},
    // The radio ID codes that stations reserve before a device takes one: the key lets only one
    // station have a code. Only a company's server hands them out; the local file keeps the same
    // tables so that one ladder serves both.
    {3,
     "CREATE TABLE IF NOT EXISTS code_reservation (code TEXT PRIMARY KEY, "
     "state TEXT NOT NULL, station TEXT NOT NULL, time_utc BIGINT NOT NULL)"},
    // A line whose new radio ID code the record showed on another device, given again as the
    // user agreed (a replaced device).
    {4, "ALTER TABLE journal ADD COLUMN code_given_again INTEGER NOT NULL DEFAULT 0"},
    // Where each device was programmed: the customer's site and the device's room. A report is
    // made per site, so the site has an index.
    {5,
     "ALTER TABLE journal ADD COLUMN site TEXT NOT NULL DEFAULT '';"
     "ALTER TABLE journal ADD COLUMN room TEXT NOT NULL DEFAULT '';"
     "CREATE INDEX IF NOT EXISTS journal_site ON journal (site, time_utc, id)"},
};

struct TypeName {
    const char* placeholder;
    const char* sqlite;
    const char* postgres;
};
const TypeName kTypeNames[] = {
    {"%KEY%", "INTEGER PRIMARY KEY AUTOINCREMENT", "BIGSERIAL PRIMARY KEY"},
    {"%BYTES%", "BLOB", "BYTEA"},
};

QStringList Statements(const SchemaStep& step, bool server) {
    QString text = QString::fromUtf8(step.statements);
    for (const TypeName& type : kTypeNames)
        text.replace(QLatin1String(type.placeholder),
                     QLatin1String(server ? type.postgres : type.sqlite));
    return text.split(';', Qt::SkipEmptyParts);
}

// The local file through Qt SQL.
class SqliteSchema : public SchemaConnection {
  public:
    explicit SqliteSchema(QSqlDatabase& db) : query_(db) {}
    bool Run(const QString& sql, QString* cause) override {
        if (query_.exec(sql)) return true;
        *cause = LocalRecordCause(query_.lastError());
        return false;
    }
    int StoredVersion() override {
        if (!query_.exec(QStringLiteral("SELECT max(version) FROM schema_version")) ||
            !query_.next())
            return -1;
        const int version = query_.value(0).toInt();
        query_.finish();
        return version;
    }

  private:
    QSqlQuery query_;
};

// On a server the upgrade is one message that the server runs as one transaction, to its end
// or not at all, without waiting on this station between statements: a station whose network
// stalls in the middle holds no lock. The steps are chosen by the version read before; a guard
// in the same transaction refuses them when another program changed the record meanwhile.
SchemaResult UpgradeInOneMessage(SchemaConnection& db, int* storedVersion, QString* cause) {
    const int latest = std::end(kSteps)[-1].version;
    const int from = std::max(*storedVersion, 0);
    QStringList script{
        QStringLiteral("SELECT pg_advisory_xact_lock(20100)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)"),
        QStringLiteral("DO $$BEGIN IF (SELECT coalesce(max(version), 0) FROM schema_version) <> "
                       "%1 THEN RAISE EXCEPTION 'record version changed'; END IF; END$$")
            .arg(from)};
    for (const SchemaStep& step : kSteps) {
        if (step.version > from) script << Statements(step, true);
    }
    script << QStringLiteral("DELETE FROM schema_version")
           << QStringLiteral("INSERT INTO schema_version (version) VALUES (%1)").arg(latest);
    if (db.Run(script.join(';'), cause)) {
        *storedVersion = latest;
        return SchemaResult::Ready;
    }
    // Another program may have done the work meanwhile.
    const int now = db.StoredVersion();
    if (now < latest) return SchemaResult::Failed;
    *storedVersion = now;
    return now == latest ? SchemaResult::Ready : SchemaResult::Newer;
}

}  // namespace

int JournalSchemaVersion() {
    return std::end(kSteps)[-1].version;
}

SchemaResult UpgradeJournalSchema(QSqlDatabase& db, int* storedVersion, QString* cause) {
    SqliteSchema connection(db);
    return UpgradeJournalSchema(connection, false, storedVersion, cause);
}

SchemaResult UpgradeJournalSchema(SchemaConnection& db, bool server, int* storedVersion,
                                  QString* cause) {
    // Most openings find the record as it should be and write nothing at all.
    *storedVersion = db.StoredVersion();
    if (*storedVersion == JournalSchemaVersion()) return SchemaResult::Ready;
    if (*storedVersion > JournalSchemaVersion()) return SchemaResult::Newer;

    if (server) return UpgradeInOneMessage(db, storedVersion, cause);

    // Two programs upgrading at once wait for each other; the second finds the work done.
    const auto run = [&db, cause](const QString& sql) { return db.Run(sql, cause); };
    const auto rollBack = [&db] {
        QString ignored;
        db.Run(QStringLiteral("ROLLBACK"), &ignored);
    };
    const bool locked = server ? run(QStringLiteral("BEGIN")) &&
                                     run(QStringLiteral("SELECT pg_advisory_xact_lock(20100)"))
                               : run(QStringLiteral("BEGIN IMMEDIATE"));
    if (!locked) {
        rollBack();
        return SchemaResult::Failed;
    }
    if (!run(QStringLiteral(
            "CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)"))) {
        rollBack();
        return SchemaResult::Failed;
    }
    *storedVersion = db.StoredVersion();
    if (*storedVersion > JournalSchemaVersion()) {
        rollBack();
        return SchemaResult::Newer;
    }
    bool done = *storedVersion >= 0;
    for (const SchemaStep& step : kSteps) {
        if (!done || step.version <= *storedVersion) continue;
        for (const QString& statement : Statements(step, server)) done = done && run(statement);
    }
    done = done && run(QStringLiteral("DELETE FROM schema_version")) &&
           run(QStringLiteral("INSERT INTO schema_version (version) VALUES (%1)")
                   .arg(JournalSchemaVersion())) &&
           run(QStringLiteral("COMMIT"));
    if (!done) {
        rollBack();
        return SchemaResult::Failed;
    }
    *storedVersion = JournalSchemaVersion();
    return SchemaResult::Ready;
}
