#include "files/journalstore.h"

#include <pwd.h>
#include <unistd.h>

#include <QRegularExpression>
#include <QSqlError>
#include <QSysInfo>

#include "files/journalimport.h"
#include "files/settingsfile.h"
#include "resources/catalogue.h"
#include "resources/msg.h"
#include "version_record.h"

namespace {

// Lines sent to the server in one transaction.
constexpr int kSyncBatch = 500;

QString LoginName() {
    if (const passwd* user = ::getpwuid(::geteuid())) return QString::fromLocal8Bit(user->pw_name);
    return qEnvironmentVariable("LOGNAME");
}

JournalEntry Stamped(const JournalEntry& entry) {
    JournalEntry stamped = entry;
    stamped.loginName = LoginName();
    stamped.hostName = QSysInfo::machineHostName();
    stamped.programVersion = QString::fromUtf8(KORBI_FILE_VERSION);
    return stamped;
}

// The local record's one connection in this process (Qt's connections belong to the thread
// that made them, so one a thread): opened and checked with the first line, kept for the next
// jobs. A record removed or replaced since is opened anew. newer: the record's version is newer
// than this program knows.
JournalDb* SharedLocal(const QString& path, QString* cause, bool* newer = nullptr) {
    thread_local std::unique_ptr<JournalDb> shared;
    if (shared && shared->LocalPath() == path && shared->StillAtPath()) return shared.get();
    shared.reset();
    auto db = std::make_unique<JournalDb>();
    const bool opened = db->OpenLocal(path, cause);
    if (newer) *newer = db->IsNewer();
    if (!opened) return nullptr;
    shared = std::move(db);
    return shared.get();
}

// Takes over the CSV journal of earlier versions, if there is one. Lines taken over for a
// company's record are pending, so that they reach the server too. The German warning, or empty.
QString TakeOverOldJournal(JournalDb& local, const JournalTarget& target) {
    QString cause;
    const QString oldPath = OldJournalPath(target.localPath);
    if (ImportOldJournal(local, oldPath, !target.serverUri.isEmpty(), &cause)) return QString();
    return FillText(Msg::JournalImportFailed, {oldPath, cause});
}

// The local record, with the old journal taken over.
JournalDb* OpenLocal(const JournalTarget& target, QString* cause, QString* warning) {
    JournalDb* db = SharedLocal(target.localPath, cause);
    if (!db) return nullptr;
    const QString importWarning = TakeOverOldJournal(*db, target);
    if (warning && !importWarning.isEmpty()) *warning = importWarning;
    return db;
}

// Sends the pending local lines in batches; each batch is marked sent once the server has it.
int SendPending(JournalDb& local, JournalDb& server, QString* cause) {
    int sent = 0;
    const QString select =
        QStringLiteral(
            "SELECT id, line_id, time_utc, image, message_id, %1 FROM journal WHERE pending = 1 "
            "ORDER BY id LIMIT %2")
            .arg(JournalColumnList())
            .arg(kSyncBatch);
    for (;;) {
        QSqlQuery query = local.Prepare(select, cause);
        if (!query.exec()) {
            *cause = DatabaseCause(query.lastError());
            return -1;
        }
        qint64 lastId = -1;
        server.Database().transaction();
        while (query.next()) {
            JournalRow row;
            lastId = query.value(0).toLongLong();
            row.lineId = query.value(1).toString();
            row.timeUtc = query.value(2).toLongLong();
            row.image = query.value(3).toByteArray();
            row.messageId = query.value(4).toInt();
            for (int column = 0; column < kJournalColumns; ++column)
                row.fields << query.value(5 + column).toString();
            if (!server.Insert(row, false, cause)) {
                server.Database().rollback();
                return -1;
            }
            ++sent;
        }
        if (lastId < 0) {
            server.Database().rollback();
            return sent;
        }
        if (!server.Database().commit()) {
            *cause = DatabaseCause(server.Database().lastError());
            return -1;
        }
        query = QSqlQuery();  // its read must not hold up the write below
        if (!local.Begin(cause)) return -1;
        QSqlQuery mark = local.Prepare(
            QStringLiteral("UPDATE journal SET pending = 0 WHERE pending = 1 AND id <= ?"), cause);
        mark.addBindValue(lastId);
        if (!mark.exec() || !local.Commit(cause)) {
            *cause = LocalRecordCause(mark.lastError());
            local.Rollback();
            return -1;
        }
    }
}

}  // namespace

QString ConfiguredJournalServer(const QString& applicationDataFolder) {
    const QString fromEnvironment = qEnvironmentVariable(kJournalServerVariable);
    if (!fromEnvironment.isEmpty() || applicationDataFolder.isEmpty()) return fromEnvironment;
    return ReadSetting(SettingsFilePath(applicationDataFolder), QStringLiteral("Setup"),
                       QString::fromLatin1(kJournalServerKey));
}

QString JournalName(const JournalTarget& target) {
    return target.serverUri.isEmpty() ? target.localPath : MaskedServer(target.serverUri);
}

bool AppendJournal(const JournalTarget& target, const JournalEntry& entry, QString* warning) {
    warning->clear();
    if (target.localPath.isEmpty()) return true;
    const JournalRow row = RowOfEntry(Stamped(entry));
    QString cause;
    if (!target.serverUri.isEmpty()) {
        JournalDb server;
        if (server.OpenServer(target.serverUri, &cause) && server.Insert(row, false, &cause)) {
            // The server is back: what waited for it goes now. A failure here is only a delay.
            QString ignored;
            if (JournalDb* local = OpenLocal(target, &ignored, warning))
                SendPending(*local, server, &ignored);
            return true;
        }
        *warning = server.IsNewer() ? FillText(Msg::JournalKeptLocally, {cause})
                                    : FillText(Msg::JournalServerUnreachable,
                                               {MaskedServer(target.serverUri), cause});
    }
    // The job's line goes in first: taking over an old journal may take long or fail, and must
    // never cost the line.
    bool newer = false;
    JournalDb* local = SharedLocal(target.localPath, &cause, &newer);
    if (local && local->InsertOne(row, !target.serverUri.isEmpty(), &cause)) {
        const QString importWarning = TakeOverOldJournal(*local, target);
        if (warning->isEmpty()) *warning = importWarning;
        return true;
    }
    *warning = newer ? cause : FillText(Msg::JournalWriteFailed, {target.localPath, cause});
    return false;
}

int SyncJournal(const JournalTarget& target, QString* error) {
    if (target.serverUri.isEmpty()) {
        *error = Text(Msg::JournalNoServer);
        return -1;
    }
    QString cause;
    JournalDb server;
    if (!server.OpenServer(target.serverUri, &cause)) {
        *error = server.IsNewer()
                     ? cause
                     : FillText(Msg::JournalReadFailed, {MaskedServer(target.serverUri), cause});
        return -1;
    }
    JournalDb* local = OpenLocal(target, &cause, nullptr);
    const int sent = local ? SendPending(*local, server, &cause) : -1;
    if (sent < 0) *error = FillText(Msg::JournalWriteFailed, {JournalName(target), cause});
    return sent;
}

bool IsDeviceFilter(const QString& text) {
    static const QRegularExpression kDigits(QStringLiteral("^[0-9A-Fa-f]{1,4}$"));
    return kDigits.match(text).hasMatch();
}

JournalReader::JournalReader() = default;
JournalReader::~JournalReader() = default;
JournalReader::JournalReader(JournalReader&&) noexcept = default;
JournalReader& JournalReader::operator=(JournalReader&&) noexcept = default;

bool JournalReader::Open(const JournalTarget& target, QString* error, QString* warning) {
    name_ = JournalName(target);
    localPath_ = target.localPath;
    QString cause;
    bool newer = false;
    if (target.serverUri.isEmpty()) {
        if (JournalDb* local = SharedLocal(target.localPath, &cause, &newer)) {
            const QString importWarning = TakeOverOldJournal(*local, target);
            if (warning && !importWarning.isEmpty()) *warning = importWarning;
            query_ = LocalJournalQuery(target.localPath, &cause);
        }
    } else {
        server_ = std::make_unique<JournalDb>();
        if (server_->OpenServer(target.serverUri, &cause)) {
            QString ignored;
            if (JournalDb* local = OpenLocal(target, &ignored, warning))
                SendPending(*local, *server_, &ignored);
            query_ = ServerJournalQuery(*server_);
        } else {
            newer = server_->IsNewer();
            server_.reset();
        }
    }
    if (!query_) *error = newer ? cause : FillText(Msg::JournalReadFailed, {name_, cause});
    return query_ != nullptr;
}

bool JournalReader::Select(const JournalFilter& filter, QString* error) {
    return Run(filter, {}, 0, error);
}

bool JournalReader::Select(const QString& deviceCode, const QDateTime& since, QString* error) {
    return Run({deviceCode, since, {}}, {}, 0, error);
}

bool JournalReader::SelectPage(const JournalFilter& filter, const LineKey& before, int limit,
                               QString* error) {
    return Run(filter, before, limit, error);
}

bool JournalReader::SelectPage(const QString& deviceCode, const LineKey& before, int limit,
                               QString* error) {
    return Run({deviceCode, {}, {}}, before, limit, error);
}

namespace {

// The columns after the shown ones in a listing's SELECT.
enum ExtraColumn {
    ColId = kJournalColumns,
    ColTimeUtc,
    ColHasImage,
    ColOutcomeCode,
    ColMessageId,
};

// The WHERE clause of the filter (empty for none) with its values.
QString WhereClause(const JournalFilter& filter, const JournalReader::LineKey& before,
                    QVariantList& values) {
    QStringList conditions;
    const QString device = filter.device.toUpper();
    if (device.size() == 4) {
        conditions << QStringLiteral("(upper(code_before) = ? OR upper(code_after) = ?)");
        values << device << device;
    } else if (!device.isEmpty()) {
        conditions << QStringLiteral("(upper(code_before) LIKE ? OR upper(code_after) LIKE ?)");
        values << '%' + device + '%' << '%' + device + '%';
    }
    if (filter.since.isValid()) {
        conditions << QStringLiteral("time_utc >= ?");
        values << filter.since.toSecsSinceEpoch();
    }
    if (filter.until.isValid()) {
        conditions << QStringLiteral("time_utc <= ?");
        values << filter.until.toSecsSinceEpoch();
    }
    if (before.id >= 0) {
        conditions << QStringLiteral("(time_utc, id) < (?, ?)");
        values << before.timeUtc << before.id;
    }
    return conditions.isEmpty() ? QString() : "WHERE " + conditions.join(" AND ");
}

// A query of its own for a single look-up, so that a listing in progress goes on undisturbed.
std::unique_ptr<JournalQuery> LookUp(JournalDb* server, const QString& localPath, QString* cause) {
    return server ? ServerJournalQuery(*server) : LocalJournalQuery(localPath, cause);
}

}  // namespace

// Every condition and order has an index (but a part of a code): the codes, and (time_utc, id).
// A page goes on from the key of the last line it showed, so that a page deep in the record
// costs what the first does.
bool JournalReader::Run(const JournalFilter& filter, const LineKey& before, int limit,
                        QString* error) {
    QVariantList values;
    const QString where = WhereClause(filter, before, values);
    const QString order = limit > 0 ? QStringLiteral("DESC") : QStringLiteral("ASC");
    QString sql =
        QStringLiteral(
            "SELECT %1, id, time_utc, image IS NOT NULL, outcome, message_id FROM journal %2 "
            "ORDER BY time_utc %3, id %3")
            .arg(JournalShownColumnList(), where, order);
    if (limit > 0) sql += QStringLiteral(" LIMIT %1").arg(limit);
    QString cause;
    if (query_->Exec(sql, values, &cause)) return true;
    *error = FillText(Msg::JournalReadFailed, {name_, cause});
    return false;
}

bool JournalReader::NextLine(QString* error) {
    QString cause;
    if (query_->Next(&cause)) return true;
    if (error && !cause.isEmpty()) *error = FillText(Msg::JournalReadFailed, {name_, cause});
    return false;
}

QByteArrayView JournalReader::Field(int column) const {
    return query_->Text(column);
}

qint64 JournalReader::TimeUtc() const {
    return query_->Integer(ColTimeUtc);
}

QByteArrayView JournalReader::OutcomeCode() const {
    return query_->Text(ColOutcomeCode);
}

int JournalReader::MessageId() const {
    return static_cast<int>(query_->Integer(ColMessageId));
}

JournalReader::LineKey JournalReader::Key() const {
    return {query_->Integer(ColTimeUtc), query_->Integer(ColId)};
}

bool JournalReader::HasImage() const {
    return query_->Integer(ColHasImage) != 0;
}

bool JournalReader::Next(QStringList* fields) {
    if (!NextLine()) return false;
    fields->clear();
    for (int column = 0; column < kJournalColumns; ++column)
        *fields << QString::fromUtf8(query_->Text(column));
    return true;
}

qint64 JournalReader::Count(const JournalFilter& filter, QString* error) {
    QString cause;
    QVariantList values;
    const QString where = WhereClause(filter, {}, values);
    auto query = LookUp(server_.get(), localPath_, &cause);
    if (query &&
        query->Exec(QStringLiteral("SELECT count(*) FROM journal ") + where, values, &cause) &&
        query->Next(&cause))
        return query->Integer(0);
    *error = FillText(Msg::JournalReadFailed, {name_, cause});
    return -1;
}

QByteArray JournalReader::ImageOfLine(qint64 id) {
    QString cause;
    auto query = LookUp(server_.get(), localPath_, &cause);
    if (!query ||
        !query->Exec(QStringLiteral("SELECT image FROM journal WHERE id = ?"), {id}, &cause) ||
        !query->Next())
        return QByteArray();
    return query->Bytes(0);
}

QByteArray JournalReader::LatestImage(const QString& deviceCode, QString* timeText,
                                      QString* error) {
    // A failed read may have fetched a part of the memory; only a job that did what it was
    // asked leaves a configuration that a device holds.
    QStringList succeeded;
    for (const QString& code : JournalSucceededCodes()) succeeded << '\'' + code + '\'';
    QString cause;
    auto query = LookUp(server_.get(), localPath_, &cause);
    if (!query ||
        !query->Exec(QStringLiteral("SELECT image, time FROM journal WHERE upper(code_after) = ? "
                                    "AND image IS NOT NULL AND outcome IN (%1) "
                                    "ORDER BY time_utc DESC, id DESC LIMIT 1")
                         .arg(succeeded.join(',')),
                     {deviceCode.toUpper()}, &cause)) {
        *error = FillText(Msg::JournalReadFailed, {name_, cause});
        return QByteArray();
    }
    if (!query->Next(&cause)) {
        if (!cause.isEmpty()) *error = FillText(Msg::JournalReadFailed, {name_, cause});
        return QByteArray();
    }
    *timeText = QString::fromUtf8(query->Text(1));
    return query->Bytes(0);
}
