#include "files/journaldb.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAtomicInteger>
#include <QFile>
#include <QSqlError>
#include <QUuid>
#include <cerrno>

#include "files/fileerrors.h"
#include "files/secrets.h"
#include "resources/catalogue.h"
#include "resources/msg.h"

namespace {

constexpr int kSchemaVersion = 1;
// No job waits on a lock in the local file longer than this.
constexpr int kLocalBusyMilliseconds = 5000;

const char* const kColumnNames[] = {
    "time",
    "job",
    "code_before",
    "code_after",
    "firmware_version",
    "production_date",
    "file_name",
    "sha256",
    "outcome",
    "program",
    "verify_sha256",
    "login_name",
    "host_name",
    "program_version",
};
static_assert(sizeof(kColumnNames) / sizeof(kColumnNames[0]) == kJournalColumns);

QAtomicInteger<int> connectionCounter;

// Nothing in the local folder is opened by SQLite unless it is a regular file (or missing):
// a FIFO or a device would block it or be written over. O_NONBLOCK keeps the check itself from
// waiting on a FIFO. 0 when the path may be used, else the errno that says why not.
int RegularFileOrMissing(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const int fd =
        ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT) return errno;
        // SQLite creates the file, but not the folder, and says little when it cannot.
        const QByteArray folder = QFile::encodeName(path.left(path.lastIndexOf('/') + 1));
        return ::access(folder.isEmpty() ? "." : folder.constData(), W_OK | X_OK) == 0 ? 0 : errno;
    }
    struct stat st {};
    const int result = ::fstat(fd, &st) != 0 ? errno : S_ISREG(st.st_mode) ? 0 : EISDIR;
    ::close(fd);
    return result;
}

QString Ddl(bool server, const char* sqlite, const char* postgres) {
    return QString::fromLatin1(server ? postgres : sqlite);
}

}  // namespace

QString JournalColumnList() {
    QStringList names;
    for (const char* name : kColumnNames) names << QString::fromLatin1(name);
    return names.join(QStringLiteral(", "));
}

QString DatabaseCause(const QSqlError& error) {
    QString text = error.text().simplified();
    return text.isEmpty() ? QStringLiteral("unbekannter Fehler") : text;
}

bool IsServerUri(const QString& text) {
    return text.startsWith(QLatin1String("postgresql://")) ||
           text.startsWith(QLatin1String("postgres://"));
}

QString MaskedServer(const QString& uri) {
    return MaskSecrets(uri);
}

JournalRow RowOfEntry(const JournalEntry& entry) {
    JournalEntry stamped = entry;
    if (!stamped.time.isValid()) stamped.time = QDateTime::currentDateTime();
    JournalRow row;
    row.lineId = QUuid::createUuid().toString(QUuid::WithoutBraces);
    row.fields = JournalFields(stamped);
    row.timeUtc = stamped.time.toSecsSinceEpoch();
    row.image = entry.image;
    return row;
}

JournalDb::JournalDb()
    : name_(QStringLiteral("korbi-journal-%1").arg(connectionCounter.fetchAndAddRelaxed(1))) {}

JournalDb::~JournalDb() {
    if (!db_) return;
    db_->close();
    db_.reset();
    QSqlDatabase::removeDatabase(name_);
}

bool JournalDb::OpenLocal(const QString& path, QString* cause) {
    if (const int error = RegularFileOrMissing(path)) {
        *cause = FileErrorCause(error);
        return false;
    }
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    db_->setDatabaseName(path);
    db_->setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kLocalBusyMilliseconds));
    if (!db_->open()) {
        *cause = DatabaseCause(db_->lastError());
        return false;
    }
    // WAL lets the window read while korbi-cli appends; FULL keeps a committed line on the disk.
    QSqlQuery pragma(*db_);
    if (!pragma.exec(QStringLiteral("PRAGMA journal_mode=WAL")) ||
        !pragma.exec(QStringLiteral("PRAGMA synchronous=FULL"))) {
        *cause = DatabaseCause(pragma.lastError());
        return false;
    }
    return Finish(cause);
}

bool JournalDb::Finish(QString* cause) {
    QSqlQuery version(*db_);
    if (version.exec(QStringLiteral("SELECT version FROM schema_version")) && version.next())
        return true;
    return CreateSchema(cause);
}

QStringList JournalSchemaStatements(bool pg) {
    return {
        // Two programs making the tables at once wait for each other.
        Ddl(pg, "BEGIN IMMEDIATE", "BEGIN"),
        Ddl(pg, "SELECT 1", "SELECT pg_advisory_xact_lock(20100)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS journal (") +
            Ddl(pg, "id INTEGER PRIMARY KEY AUTOINCREMENT", "id BIGSERIAL PRIMARY KEY") +
            QStringLiteral(
                ", line_id TEXT NOT NULL UNIQUE, time TEXT NOT NULL, time_utc BIGINT NOT NULL, "
                "job TEXT NOT NULL, code_before TEXT NOT NULL, code_after TEXT NOT NULL, "
                "firmware_version TEXT NOT NULL, production_date TEXT NOT NULL, "
                "file_name TEXT NOT NULL, sha256 TEXT NOT NULL, outcome TEXT NOT NULL, "
                "program TEXT NOT NULL, verify_sha256 TEXT NOT NULL, login_name TEXT NOT NULL, "
                "host_name TEXT NOT NULL, program_version TEXT NOT NULL, image ") +
            Ddl(pg, "BLOB", "BYTEA") + QStringLiteral(", pending INTEGER NOT NULL DEFAULT 0)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS journal_code_before "
                       "ON journal (upper(code_before))"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS journal_code_after "
                       "ON journal (upper(code_after))"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS journal_time ON journal (time_utc, id)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS journal_pending ON journal (id) "
                       "WHERE pending = 1"),
        QStringLiteral("INSERT INTO schema_version (version) SELECT %1 "
                       "WHERE NOT EXISTS (SELECT 1 FROM schema_version)")
            .arg(kSchemaVersion),
        QStringLiteral("COMMIT"),
    };
}

bool JournalDb::CreateSchema(QString* cause) {
    const QStringList statements = JournalSchemaStatements(false);
    QSqlQuery query(*db_);
    for (const QString& statement : statements) {
        if (!query.exec(statement)) {
            *cause = DatabaseCause(query.lastError());
            query.exec(QStringLiteral("ROLLBACK"));
            return false;
        }
    }
    return true;
}

QSqlQuery JournalDb::Prepare(const QString& sql, QString* cause) {
    QSqlQuery query(*db_);
    query.setForwardOnly(true);
    if (!query.prepare(sql) && cause) *cause = DatabaseCause(query.lastError());
    return query;
}

bool JournalDb::Insert(const JournalRow& row, bool pending, QString* cause) {
    QStringList marks;
    for (int i = 0; i < kJournalColumns + 4; ++i) marks << QStringLiteral("?");
    QSqlQuery query = Prepare(QStringLiteral("INSERT INTO journal (line_id, time_utc, image, "
                                             "pending, %1) VALUES (%2) "
                                             "ON CONFLICT (line_id) DO NOTHING")
                                  .arg(JournalColumnList(), marks.join(',')),
                              cause);
    query.addBindValue(row.lineId);
    query.addBindValue(row.timeUtc);
    query.addBindValue(row.image.isEmpty() ? QVariant(QMetaType::fromType<QByteArray>())
                                           : QVariant(row.image));
    query.addBindValue(pending ? 1 : 0);
    // A missing field is empty text, never NULL.
    for (int column = 0; column < kJournalColumns; ++column) {
        const QString field = row.fields.value(column);
        query.addBindValue(field.isNull() ? QStringLiteral("") : field);
    }
    if (query.exec()) return true;
    *cause = DatabaseCause(query.lastError());
    return false;
}
