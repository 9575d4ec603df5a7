#include "record/journaldb.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAtomicInteger>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QUuid>
#include <cerrno>

#include "files/fileerrors.h"
#include "files/secrets.h"
#include "record/journalschema.h"
#include "resources/catalogue.h"
#include "resources/msg.h"

namespace {

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
    "site",
    "room",
};
static_assert(sizeof(kColumnNames) / sizeof(kColumnNames[0]) == kJournalColumns);

QAtomicInteger<int> connectionCounter;

// Nothing in the local folder is opened by SQLite unless it is a regular file (or missing):
// a FIFO or a device would block it or be written over. A symbolic link is followed when it is
// the user's own, never when it belongs to someone else. The check opens nothing: closing any
// descriptor of a file would drop the locks that SQLite holds on it in this process. 0 when the
// path may be used, ENOENT when it must be made, else the errno that says why not.
int CheckRecordPath(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat link {};
    if (::lstat(name.constData(), &link) == 0 && S_ISLNK(link.st_mode) &&
        link.st_uid != ::geteuid())
        return ELOOP;
    struct stat st {};
    if (::stat(name.constData(), &st) == 0) return S_ISREG(st.st_mode) ? 0 : EISDIR;
    if (errno != ENOENT) return errno;
    // SQLite creates the file, but not the folder, and says little when it cannot.
    const QByteArray folder = QFile::encodeName(path.left(path.lastIndexOf('/') + 1));
    return ::access(folder.isEmpty() ? "." : folder.constData(), W_OK | X_OK) == 0 ? ENOENT : errno;
}

// The German cause of an error of the local record, by SQLite's result code (the low byte of an
// extended one).
struct SqliteCause {
    int code;
    int textId;
};
const SqliteCause kSqliteCauses[] = {
    {5, Msg::CauseRecordBusy},     {6, Msg::CauseRecordBusy},        {8, Msg::CauseRecordReadOnly},
    {3, Msg::CauseRecordReadOnly}, {23, Msg::CauseRecordReadOnly},   {11, Msg::CauseRecordDamaged},
    {26, Msg::CauseRecordDamaged}, {10, Msg::CauseRecordIo},         {15, Msg::CauseRecordIo},
    {13, Msg::CauseNoSpace},       {14, Msg::CauseRecordCannotOpen},
};

// The files SQLite keeps beside the record while it is open.
const char* const kSidecarSuffixes[] = {"-wal", "-shm"};

// In a folder shared by a team, whoever may write the record must be able to write its -wal and
// -shm as well: SQLite makes them with the opener's umask, so they get the record's own
// permissions. Only the owner can change them; another member's files were set by that
// member's program.
void KeepSidecarsWritable(const QString& path) {
    struct stat record {};
    if (::stat(QFile::encodeName(path).constData(), &record) != 0) return;
    // By name, not through a descriptor: closing one would drop SQLite's locks on the file.
    for (const char* suffix : kSidecarSuffixes) {
        const QByteArray name = QFile::encodeName(path) + suffix;
        struct stat st {};
        const mode_t wanted = record.st_mode & 0666;
        if (::lstat(name.constData(), &st) == 0 && S_ISREG(st.st_mode) &&
            st.st_uid == ::geteuid() && (st.st_mode & 07777) != wanted)
            ::chmod(name.constData(), wanted);
    }
}

// Makes a new record at path: under a name of its own first, in WAL mode (so that readers never
// wait for the writer) and with every table, then linked into place. When another program made
// it in the meantime, that one stays. 0, or the errno or SQLite cause that stopped it.
bool CreateRecord(const QString& path, const QString& connectionName, QString* cause) {
    static QAtomicInteger<int> counter;
    const QString temporary =
        path.left(path.lastIndexOf('/') + 1) + QStringLiteral(".%1.%2-%3.neu")
                                                   .arg(QString::fromUtf8(kJournalFileName))
                                                   .arg(::getpid())
                                                   .arg(counter.fetchAndAddRelaxed(1));
    const QByteArray name = QFile::encodeName(temporary);
    // 0664: the group may write it when the umask lets it (a team's shared folder); nobody else.
    const int fd =
        ::open(name.constData(), O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_CLOEXEC, 0664);
    if (fd < 0) {
        *cause = FileErrorCause(errno);
        return false;
    }
    ::close(fd);
    bool made = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        db.setDatabaseName(temporary);
        bool walSet = false;
        if (db.open()) {
            QSqlQuery pragma(db);
            walSet = pragma.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
            if (!walSet) *cause = LocalRecordCause(pragma.lastError());
        } else {
            *cause = LocalRecordCause(db.lastError());
        }
        int version = 0;
        made = walSet && UpgradeJournalSchema(db, &version, cause) == SchemaResult::Ready;
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
    int error = made && ::link(name.constData(), QFile::encodeName(path).constData()) != 0 &&
                        errno != EEXIST
                    ? errno
                    : 0;
    ::unlink(name.constData());
    for (const char* suffix : kSidecarSuffixes) ::unlink((name + suffix).constData());
    if (error) *cause = FileErrorCause(error);
    return made && error == 0;
}

}  // namespace

QString JournalColumnList() {
    QStringList names;
    for (const char* name : kColumnNames) names << QString::fromLatin1(name);
    return names.join(QStringLiteral(", "));
}

QString JournalShownColumnList(const QList<int>& read) {
    QStringList names;
    for (const char* name : kColumnNames) names << QString::fromLatin1(name);
    names[ColOutcome] = JournalOutcomeWordSql();
    for (int column = 0; column < kJournalColumns && !read.isEmpty(); ++column)
        if (!read.contains(column)) names[column] = QStringLiteral("''");
    return names.join(QStringLiteral(", "));
}

QString DatabaseCause(const QSqlError& error) {
    QString text = error.text().simplified();
    return text.isEmpty() ? QStringLiteral("unbekannter Fehler") : text;
}

QString LocalRecordCause(const QSqlError& error) {
    bool isNumber = false;
    const int code = error.nativeErrorCode().toInt(&isNumber) & 0xFF;
    for (const SqliteCause& cause : kSqliteCauses)
        if (isNumber && cause.code == code) return Text(cause.textId);
    return FillText(Msg::CauseRecordOther,
                    {isNumber ? QString::number(code) : QStringLiteral("0")});
}

JournalRow RowOfEntry(const JournalEntry& entry) {
    JournalEntry stamped = entry;
    if (!stamped.time.isValid()) stamped.time = QDateTime::currentDateTime();
    JournalRow row;
    row.lineId = QUuid::createUuid().toString(QUuid::WithoutBraces);
    row.fields = JournalFields(stamped);
    row.fields[ColOutcome] = JournalOutcomeCode(stamped);
    row.messageId = stamped.outcome == JournalOutcome::Failed ? stamped.messageId : 0;
    row.codeGivenAgain = stamped.codeGivenAgain;
    row.timeUtc = stamped.time.toSecsSinceEpoch();
    row.image = entry.image;
    return row;
}

JournalDb::JournalDb()
    : name_(QStringLiteral("korbi-journal-%1").arg(connectionCounter.fetchAndAddRelaxed(1))) {}

JournalDb::~JournalDb() {
    insert_.reset();
    if (!db_) return;
    db_->close();
    db_.reset();
    QSqlDatabase::removeDatabase(name_);
}

bool JournalDb::OpenLocal(const QString& path, QString* cause) {
    localPath_ = path;
    const int error = CheckRecordPath(path);
    // The user's own link that leads nowhere yet: the record is made where it points.
    const QFileInfo info(path);
    const QString made = info.isSymLink() ? info.symLinkTarget() : path;
    if (error == ENOENT && !CreateRecord(made, name_ + QStringLiteral("-new"), cause)) return false;
    if (error != ENOENT && error != 0) {
        *cause = FileErrorCause(error);
        return false;
    }
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0) {
        device_ = st.st_dev;
        inode_ = st.st_ino;
    }
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    db_->setDatabaseName(path);
    db_->setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kLocalBusyMilliseconds));
    if (!db_->open()) {
        *cause = LocalRecordCause(db_->lastError());
        return false;
    }
    // FULL keeps a committed line on the disk. WAL was set when the file was made: it stays
    // with the file, and switching it on every opening would need a lock of its own.
    if (!Run(QStringLiteral("PRAGMA synchronous=FULL"), cause)) return false;
    const bool ready = Finish(path, cause);
    KeepSidecarsWritable(path);
    return ready;
}

bool JournalDb::StillAtPath() const {
    struct stat st {};
    return ::stat(QFile::encodeName(localPath_).constData(), &st) == 0 && st.st_dev == device_ &&
           st.st_ino == inode_;
}

bool JournalDb::Finish(const QString& shownName, QString* cause) {
    int version = 0;
    switch (UpgradeJournalSchema(*db_, &version, cause)) {
        case SchemaResult::Ready:
            return true;
        case SchemaResult::Newer:
            newer_ = true;
            *cause = FillText(Msg::JournalNewerVersion, {shownName, QString::number(version),
                                                         QString::number(JournalSchemaVersion())});
            return false;
        case SchemaResult::Failed:
            break;
    }
    return false;
}

bool JournalDb::Run(const QString& sql, QString* cause) {
    QSqlQuery query(*db_);
    if (query.exec(sql)) return true;
    *cause = LocalRecordCause(query.lastError());
    return false;
}

bool JournalDb::Begin(QString* cause) {
    return Run(QStringLiteral("BEGIN IMMEDIATE"), cause);
}

bool JournalDb::Commit(QString* cause) {
    return Run(QStringLiteral("COMMIT"), cause);
}

void JournalDb::Rollback() {
    QString ignored;
    Run(QStringLiteral("ROLLBACK"), &ignored);
}

bool JournalDb::InsertOne(const JournalRow& row, int pending, QString* cause) {
    if (!Begin(cause)) return false;
    if (Insert(row, pending, cause) && Commit(cause)) return true;
    Rollback();
    return false;
}

QSqlQuery JournalDb::Prepare(const QString& sql, QString* cause) {
    QSqlQuery query(*db_);
    query.setForwardOnly(true);
    if (!query.prepare(sql) && cause) *cause = LocalRecordCause(query.lastError());
    return query;
}

bool JournalDb::Insert(const JournalRow& row, int pending, QString* cause) {
    // Prepared once a connection: taking over an old journal inserts line after line.
    if (!insert_) {
        QStringList marks;
        for (int i = 0; i < kJournalColumns + 6; ++i) marks << QStringLiteral("?");
        QString prepareCause;
        insert_ = Prepare(QStringLiteral("INSERT INTO journal (line_id, time_utc, image, "
                                         "pending, message_id, code_given_again, %1) VALUES (%2) "
                                         "ON CONFLICT (line_id) DO NOTHING")
                              .arg(JournalColumnList(), marks.join(',')),
                          &prepareCause);
        // Binding to a statement that did not prepare would only say "Parameter count mismatch".
        if (!prepareCause.isEmpty()) {
            insert_.reset();
            *cause = prepareCause;
            return false;
        }
    }
    QSqlQuery& query = *insert_;
    int index = 0;
    query.bindValue(index++, row.lineId);
    query.bindValue(index++, row.timeUtc);
    query.bindValue(index++, row.image.isEmpty() ? QVariant(QMetaType::fromType<QByteArray>())
                                                 : QVariant(row.image));
    query.bindValue(index++, pending);
    query.bindValue(index++, row.messageId);
    query.bindValue(index++, row.codeGivenAgain ? 1 : 0);
    // A missing field is empty text, never NULL.
    for (int column = 0; column < kJournalColumns; ++column) {
        const QString field = row.fields.value(column);
        query.bindValue(index++, field.isNull() ? QStringLiteral("") : field);
    }
    const bool inserted = query.exec();
    if (!inserted) *cause = LocalRecordCause(query.lastError());
    query.finish();
    return inserted;
}
