#include "record/journalstore.h"

#include <pwd.h>
#include <unistd.h>

#include <QRegularExpression>
#include <QSqlError>
#include <QSysInfo>
#include <limits>

#include "files/secrets.h"
#include "files/settingsfile.h"
#include "record/journalimport.h"
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
    qint64 setAsideLine = 0;
    if (!ImportOldJournal(local, oldPath, !target.serverUri.isEmpty(), &cause, &setAsideLine))
        return FillText(Msg::JournalImportFailed, {oldPath, cause});
    if (setAsideLine == 0) return QString();
    return FillText(Msg::JournalImportSetAside, {QString::number(setAsideLine), oldPath});
}

// The local record, with the old journal taken over.
JournalDb* OpenLocal(const JournalTarget& target, QString* cause, QString* warning) {
    JournalDb* db = SharedLocal(target.localPath, cause);
    if (!db) return nullptr;
    const QString importWarning = TakeOverOldJournal(*db, target);
    if (warning && !importWarning.isEmpty()) *warning = importWarning;
    return db;
}

// The INSERT of lines on the server: every value a parameter, all lines in one statement, so
// that they are stored together or not at all without a transaction that a stalled network could
// hold open. A line the server has already (sent twice, or by another program at the same moment)
// stays as it is.
ServerStatus InsertOnServer(JournalServer& server, const QList<JournalRow>& rows) {
    constexpr int kValuesPerRow = kJournalColumns + 6;
    QStringList tuples;
    QList<ServerValue> values;
    for (const JournalRow& row : rows) {
        QStringList marks;
        for (int i = 1; i <= kValuesPerRow; ++i)
            marks << QStringLiteral("$%1").arg(values.size() + i);
        tuples << '(' + marks.join(',') + ')';
        values << TextValue(row.lineId) << NumberValue(row.timeUtc) << BytesValue(row.image)
               << NumberValue(0) << NumberValue(row.messageId)
               << NumberValue(row.codeGivenAgain ? 1 : 0);
        for (int column = 0; column < kJournalColumns; ++column)
            values << TextValue(row.fields.value(column));
    }
    const QByteArray sql =
        QStringLiteral(
            "INSERT INTO journal (line_id, time_utc, image, pending, message_id, "
            "code_given_again, %1) "
            "VALUES %2 ON CONFLICT (line_id) DO NOTHING")
            .arg(JournalColumnList(), tuples.join(','))
            .toUtf8();
    return server.Exec(sql.constData(), values);
}

// Names a line the server refused for good; it stays in the local record only.
QString SetAsideText(const QString& serverName, const JournalRow& row, const QString& cause) {
    const QString code = row.fields.value(ColCodeAfter).isEmpty() ? row.fields.value(ColCodeBefore)
                                                                  : row.fields.value(ColCodeAfter);
    // What the server refused may be damaged text: the line shows it as far as it is printable.
    QString time = row.fields.value(ColTime);
    time.replace(QRegularExpression(QStringLiteral("[\\x00-\\x1f]")), QStringLiteral("?"));
    return FillText(Msg::JournalLineSetAside,
                    {serverName, time.left(40), row.fields.value(ColJob).left(20),
                     code.isEmpty() ? QStringLiteral("----") : code.left(8), cause});
}

// Marks the lines of a batch the server has now: refused ones as set aside (2), the others up
// to lastId as sent (0), in one write transaction.
bool MarkSent(JournalDb& local, const QList<qint64>& refused, qint64 lastId, QString* cause) {
    if (!local.Begin(cause)) return false;
    const auto mark = [&local, cause](const char* sql, qint64 id) {
        QSqlQuery query = local.Prepare(QString::fromLatin1(sql), cause);
        query.addBindValue(id);
        if (query.exec()) return true;
        *cause = LocalRecordCause(query.lastError());
        return false;
    };
    bool marked = true;
    for (const qint64 id : refused)
        marked = marked && mark("UPDATE journal SET pending = 2 WHERE id = ?", id);
    marked = marked && mark("UPDATE journal SET pending = 0 WHERE pending = 1 AND id <= ?", lastId);
    if (marked && local.Commit(cause)) return true;
    local.Rollback();
    return false;
}

// Sends the pending local lines in batches, each batch in one transaction on the server and
// marked sent once it is committed there. A line whose values the server refuses is set aside
// (pending = 2) with a line in setAside, and the others go on. The number of lines this call
// stored on the server (a line that another program sent first is not counted), or -1.
int SendPending(JournalDb& local, JournalServer& server, const QString& serverName,
                QStringList* setAside, QString* cause) {
    int sent = 0;
    const QString select =
        QStringLiteral(
            "SELECT id, line_id, time_utc, image, message_id, code_given_again, %1 FROM journal "
            "WHERE pending = 1 "
            "ORDER BY id LIMIT %2")
            .arg(JournalColumnList())
            .arg(kSyncBatch);
    for (;;) {
        QSqlQuery query = local.Prepare(select, cause);
        if (!query.exec()) {
            *cause = LocalRecordCause(query.lastError());
            return -1;
        }
        QList<JournalRow> rows;
        QList<qint64> ids;
        while (query.next()) {
            JournalRow row;
            ids << query.value(0).toLongLong();
            row.lineId = query.value(1).toString();
            row.timeUtc = query.value(2).toLongLong();
            row.image = query.value(3).toByteArray();
            row.messageId = query.value(4).toInt();
            row.codeGivenAgain = query.value(5).toInt() != 0;
            for (int column = 0; column < kJournalColumns; ++column)
                row.fields << query.value(6 + column).toString();
            rows << row;
        }
        query = QSqlQuery();  // its read must not hold up the write below
        if (rows.isEmpty()) return sent;
        QList<qint64> refused;
        int stored = 0;
        if (InsertOnServer(server, rows) == ServerStatus::Ok) {
            stored = server.Affected();
        } else if (server.RefusedTheValues()) {
            // One refused line must not take the batch's others with it: each goes alone.
            for (qsizetype i = 0; i < rows.size(); ++i) {
                if (InsertOnServer(server, {rows[i]}) == ServerStatus::Ok) {
                    stored += server.Affected();
                    continue;
                }
                if (!server.RefusedTheValues()) break;
                refused << ids[i];
                if (setAside) *setAside << SetAsideText(serverName, rows[i], server.Cause());
            }
        }
        if (server.LastStatus() != ServerStatus::Ok && !server.RefusedTheValues()) {
            *cause = server.Cause();
            return -1;
        }
        sent += stored;
        if (!MarkSent(local, refused, ids.last(), cause)) return -1;
    }
}

// Why a line did not reach the server, for the user: the address, the line itself, or the server.
QString ServerWarning(const JournalServer& server, const QString& serverName,
                      const JournalRow& row) {
    switch (server.LastStatus()) {
        case ServerStatus::NotUnderstood:
            return FillText(Msg::JournalServerNotUnderstood, {serverName});
        case ServerStatus::Newer:
            return FillText(Msg::JournalKeptLocally, {server.Cause()});
        case ServerStatus::Refused:
            return server.RefusedTheValues()
                       ? SetAsideText(serverName, row, server.Cause())
                       : FillText(Msg::JournalServerRefused, {serverName, server.Cause()});
        default:
            return FillText(Msg::JournalServerUnreachable, {serverName, server.Cause()});
    }
}

}  // namespace

QString ConfiguredJournalServer(const QString& applicationDataFolder) {
    QString server = qEnvironmentVariable(kJournalServerVariable);
    if (server.isEmpty() && !applicationDataFolder.isEmpty())
        server = ReadSetting(SettingsFilePath(applicationDataFolder), QStringLiteral("Setup"),
                             QString::fromLatin1(kJournalServerKey));
    RememberSecrets(server);
    return server;
}

QString JournalName(const JournalTarget& target) {
    return target.serverUri.isEmpty() ? target.localPath : MaskedServer(target.serverUri);
}

bool AppendJournal(const JournalTarget& target, const JournalEntry& entry, QString* warning) {
    warning->clear();
    if (target.localPath.isEmpty()) return true;
    const JournalRow row = RowOfEntry(Stamped(entry));
    QString cause;
    int pending = 0;
    if (!target.serverUri.isEmpty()) {
        const QString serverName = JournalName(target);
        JournalServer server;
        if (server.Open(target.serverUri) == ServerStatus::Ok &&
            InsertOnServer(server, {row}) == ServerStatus::Ok) {
            // The server is back: what waited for it goes now. A failure here is only a delay.
            QStringList notes;
            QString ignored;
            if (JournalDb* local = OpenLocal(target, &ignored, warning))
                SendPending(*local, server, serverName, &notes, &ignored);
            if (!notes.isEmpty()) *warning = notes.join('\n');
            return true;
        }
        // The line waits in the local record; it never waited longer than the server's wait.
        // One whose values the server refused would be refused again: it is set aside.
        *warning = ServerWarning(server, serverName, row);
        pending = server.RefusedTheValues() ? 2 : 1;
    }
    // The job's line goes in first: taking over an old journal may take long or fail, and must
    // never cost the line.
    bool newer = false;
    JournalDb* local = SharedLocal(target.localPath, &cause, &newer);
    if (local && local->InsertOne(row, pending, &cause)) {
        const QString importWarning = TakeOverOldJournal(*local, target);
        if (warning->isEmpty()) *warning = importWarning;
        return true;
    }
    *warning = newer ? cause : FillText(Msg::JournalWriteFailed, {target.localPath, cause});
    return false;
}

int SyncJournal(const JournalTarget& target, QString* error, QStringList* setAside) {
    if (target.serverUri.isEmpty()) {
        *error = Text(Msg::JournalNoServer);
        return -1;
    }
    QString cause;
    JournalServer server;
    if (server.Open(target.serverUri) != ServerStatus::Ok) {
        *error = server.LastStatus() == ServerStatus::Newer
                     ? server.Cause()
                     : FillText(Msg::JournalReadFailed, {JournalName(target), server.Cause()});
        return -1;
    }
    JournalDb* local = OpenLocal(target, &cause, nullptr);
    const int sent =
        local ? SendPending(*local, server, JournalName(target), setAside, &cause) : -1;
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

bool JournalReader::OpenLocalRecord(const JournalTarget& target, QString* error, QString* warning) {
    name_ = target.localPath;
    localPath_ = target.localPath;
    QString cause;
    bool newer = false;
    if (JournalDb* local = SharedLocal(target.localPath, &cause, &newer)) {
        // Lines taken over for a company's record wait for its server.
        const QString importWarning = TakeOverOldJournal(*local, target);
        if (warning && !importWarning.isEmpty()) *warning = importWarning;
        query_ = LocalJournalQuery(target.localPath, &cause);
    }
    if (!query_) *error = newer ? cause : FillText(Msg::JournalReadFailed, {name_, cause});
    return query_ != nullptr;
}

bool JournalReader::Open(const JournalTarget& target, QString* error, QString* warning) {
    if (target.serverUri.isEmpty()) return OpenLocalRecord(target, error, warning);
    name_ = JournalName(target);
    localPath_ = target.localPath;
    serverUri_ = target.serverUri;
    server_ = std::make_unique<JournalServer>();
    if (server_->Open(target.serverUri) != ServerStatus::Ok) {
        *error = server_->LastStatus() == ServerStatus::Newer
                     ? server_->Cause()
                     : FillText(Msg::JournalReadFailed, {name_, server_->Cause()});
        server_.reset();
        return false;
    }
    // What waits for the server goes first, so that the listing shows it. A failure is a delay.
    QStringList setAside;
    QString ignored;
    if (JournalDb* local = OpenLocal(target, &ignored, warning))
        SendPending(*local, *server_, name_, &setAside, &ignored);
    if (warning && !setAside.isEmpty())
        *warning = (warning->isEmpty() ? setAside : QStringList(*warning) + setAside).join('\n');
    query_ = ServerJournalQuery(*server_, true);
    return true;
}

bool JournalReader::Select(const JournalFilter& filter, QString* error, const QList<int>& columns) {
    return Run(filter, {}, 0, error, columns);
}

bool JournalReader::Select(const QString& deviceCode, const QDateTime& since, QString* error) {
    return Run({deviceCode, since, {}, {}}, {}, 0, error);
}

bool JournalReader::SelectPage(const JournalFilter& filter, const LineKey& before, int limit,
                               QString* error) {
    return Run(filter, before, limit, error);
}

bool JournalReader::SelectPage(const QString& deviceCode, const LineKey& before, int limit,
                               QString* error) {
    return Run({deviceCode, {}, {}, {}}, before, limit, error);
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
    if (!filter.site.isEmpty()) {
        conditions << QStringLiteral("site = ?");
        values << filter.site;
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

}  // namespace

// Every condition and order has an index (but a part of a code): the codes, and (time_utc, id).
// A page goes on from the key of the last line it showed, so that a page deep in the record
// costs what the first does.
bool JournalReader::Run(const JournalFilter& filter, const LineKey& before, int limit,
                        QString* error, const QList<int>& columns) {
    QVariantList values;
    const QString where = WhereClause(filter, before, values);
    const QString order = limit > 0 ? QStringLiteral("DESC") : QStringLiteral("ASC");
    QString sql =
        QStringLiteral(
            "SELECT %1, id, time_utc, CASE WHEN image IS NULL THEN 0 ELSE 1 END, outcome, "
            "message_id FROM journal %2 "
            "ORDER BY time_utc %3, id %3")
            .arg(JournalShownColumnList(columns), where, order);
    if (limit > 0) sql += QStringLiteral(" LIMIT %1").arg(limit);
    QString cause;
    if (query_->Exec(sql, values, &cause)) return true;
    *error = FillText(Msg::JournalReadFailed, {name_, cause});
    return false;
}

bool JournalReader::NextLine(QString* error) {
    QString cause;
    failure_.clear();
    if (query_->Next(&cause)) return true;
    if (!cause.isEmpty()) failure_ = FillText(Msg::JournalReadFailed, {name_, cause});
    if (error && !failure_.isEmpty()) *error = failure_;
    return false;
}

bool JournalReader::Failed(QString* error) const {
    if (failure_.isEmpty()) return false;
    *error = failure_;
    return true;
}

std::unique_ptr<JournalQuery> JournalReader::LookUp(QString* cause) {
    if (!server_) return LocalJournalQuery(localPath_, cause);
    if (!server_->Streaming()) return ServerJournalQuery(*server_, false);
    if (!lookUpServer_) {
        lookUpServer_ = std::make_unique<JournalServer>();
        if (lookUpServer_->Open(serverUri_) != ServerStatus::Ok) {
            *cause = lookUpServer_->Cause();
            lookUpServer_.reset();
            return nullptr;
        }
    }
    return ServerJournalQuery(*lookUpServer_, false);
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
    auto query = LookUp(&cause);
    if (query &&
        query->Exec(QStringLiteral("SELECT count(*) FROM journal ") + where, values, &cause) &&
        query->Next(&cause))
        return query->Integer(0);
    *error = FillText(Msg::JournalReadFailed, {name_, cause});
    return -1;
}

QByteArray JournalReader::ImageOfLine(qint64 id) {
    QString cause;
    auto query = LookUp(&cause);
    if (!query ||
        !query->Exec(QStringLiteral("SELECT image FROM journal WHERE id = ?"), {id}, &cause) ||
        !query->Next())
        return QByteArray();
    return query->Bytes(0);
}

QByteArray JournalReader::LatestImage(const QString& deviceCode, QString* timeText, QString* error,
                                      QString* recordedCode) {
    // A failed read may have fetched a part of the memory; only a job that did what it was
    // asked leaves a configuration that a device holds.
    QStringList succeeded;
    for (const QString& code : JournalSucceededCodes()) succeeded << '\'' + code + '\'';
    // Newest first: the device's last line with a configuration, or the change that gave it its
    // code, after which its lines under the earlier code are asked the same way.
    const QString sql =
        QStringLiteral(
            "SELECT image, time, upper(code_before), time_utc, id FROM journal "
            "WHERE upper(code_after) = ? AND outcome IN (%1) AND (image IS NOT NULL OR "
            "upper(code_before) <> upper(code_after)) AND (time_utc, id) < (?, ?) "
            "ORDER BY time_utc DESC, id DESC LIMIT 1")
            .arg(succeeded.join(','));
    QString cause;
    auto query = LookUp(&cause);
    QString code = deviceCode.toUpper();
    QStringList followed;
    qint64 beforeTime = std::numeric_limits<qint64>::max();
    qint64 beforeId = std::numeric_limits<qint64>::max();
    // A code given back to a device it had before ends the way at a code already followed.
    while (query && !followed.contains(code)) {
        followed << code;
        if (!query->Exec(sql, {code, beforeTime, beforeId}, &cause)) break;
        if (!query->Next(&cause)) {
            if (!cause.isEmpty()) break;
            return QByteArray();
        }
        const QByteArray image = query->Bytes(0);
        if (!image.isEmpty()) {
            *timeText = QString::fromUtf8(query->Text(1));
            if (recordedCode) *recordedCode = code;
            return image;
        }
        code = QString::fromUtf8(query->Text(2));
        beforeTime = query->Integer(3);
        beforeId = query->Integer(4);
    }
    if (!cause.isEmpty()) *error = FillText(Msg::JournalReadFailed, {name_, cause});
    return QByteArray();
}
