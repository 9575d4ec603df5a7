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

// The local record, with the CSV journal of earlier versions taken over on first use. Lines
// taken over for a company's record are pending, so that they reach the server too.
std::unique_ptr<JournalDb> OpenLocal(const JournalTarget& target, QString* cause,
                                     QString* warning) {
    auto db = std::make_unique<JournalDb>();
    if (!db->OpenLocal(target.localPath, cause)) return nullptr;
    QString importCause;
    const QString oldPath = OldJournalPath(target.localPath);
    if (!ImportOldJournal(*db, oldPath, !target.serverUri.isEmpty(), &importCause) && warning)
        *warning = FillText(Msg::JournalImportFailed, {oldPath, importCause});
    return db;
}

// The INSERT of a line on the server: every value a parameter. A line the server has already
// (sent twice, or by another program at the same moment) stays as it is.
ServerStatus InsertOnServer(JournalServer& server, const JournalRow& row) {
    static const QByteArray sql = [] {
        QStringList marks;
        for (int i = 1; i <= kJournalColumns + 4; ++i) marks << QStringLiteral("$%1").arg(i);
        return QStringLiteral(
                   "INSERT INTO journal (line_id, time_utc, image, pending, %1) "
                   "VALUES (%2) ON CONFLICT (line_id) DO NOTHING")
            .arg(JournalColumnList(), marks.join(','))
            .toUtf8();
    }();
    QList<ServerValue> values{TextValue(row.lineId), NumberValue(row.timeUtc),
                              BytesValue(row.image), NumberValue(0)};
    for (int column = 0; column < kJournalColumns; ++column)
        values << TextValue(row.fields.value(column));
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

bool MarkLocal(JournalDb& local, const char* sql, qint64 id, QString* cause) {
    QSqlQuery mark = local.Prepare(QString::fromLatin1(sql), cause);
    mark.addBindValue(id);
    if (mark.exec()) return true;
    *cause = DatabaseCause(mark.lastError());
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
            "SELECT id, line_id, time_utc, image, %1 FROM journal WHERE pending = 1 "
            "ORDER BY id LIMIT %2")
            .arg(JournalColumnList())
            .arg(kSyncBatch);
    for (;;) {
        QSqlQuery query = local.Prepare(select, cause);
        if (!query.exec()) {
            *cause = DatabaseCause(query.lastError());
            return -1;
        }
        QList<qint64> refused;
        qint64 lastId = -1;
        int stored = 0;
        if (server.Exec("BEGIN", {}) != ServerStatus::Ok) {
            *cause = server.Cause();
            return -1;
        }
        while (query.next()) {
            JournalRow row;
            lastId = query.value(0).toLongLong();
            row.lineId = query.value(1).toString();
            row.timeUtc = query.value(2).toLongLong();
            row.image = query.value(3).toByteArray();
            for (int column = 0; column < kJournalColumns; ++column)
                row.fields << query.value(4 + column).toString();
            // One refused line must not take the batch's others with it.
            if (server.Exec("SAVEPOINT line", {}) == ServerStatus::Ok &&
                InsertOnServer(server, row) == ServerStatus::Ok) {
                stored += server.Affected();
                continue;
            }
            if (!server.RefusedTheValues() ||
                server.Exec("ROLLBACK TO SAVEPOINT line", {}) != ServerStatus::Ok) {
                *cause = server.Cause();
                server.Exec("ROLLBACK", {});
                return -1;
            }
            refused << lastId;
            if (setAside) *setAside << SetAsideText(serverName, row, server.Cause());
        }
        query.finish();
        if (server.Exec("COMMIT", {}) != ServerStatus::Ok) {
            *cause = server.Cause();
            return -1;
        }
        if (lastId < 0) return sent;
        sent += stored;
        for (const qint64 id : refused) {
            if (!MarkLocal(local, "UPDATE journal SET pending = 2 WHERE id = ?", id, cause))
                return -1;
        }
        if (!MarkLocal(local, "UPDATE journal SET pending = 0 WHERE pending = 1 AND id <= ?",
                       lastId, cause))
            return -1;
    }
}

// Why a line did not reach the server, for the user: the address, the line itself, or the server.
QString ServerWarning(const JournalServer& server, const QString& serverName,
                      const JournalRow& row) {
    switch (server.LastStatus()) {
        case ServerStatus::NotUnderstood:
            return FillText(Msg::JournalServerNotUnderstood, {serverName});
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
    bool setAside = false;
    if (!target.serverUri.isEmpty()) {
        const QString serverName = JournalName(target);
        JournalServer server;
        if (server.Open(target.serverUri) == ServerStatus::Ok &&
            InsertOnServer(server, row) == ServerStatus::Ok) {
            // The server is back: what waited for it goes now. A failure here is only a delay.
            QStringList notes;
            if (auto local = OpenLocal(target, &cause, warning))
                SendPending(*local, server, serverName, &notes, &cause);
            if (!notes.isEmpty()) *warning = notes.join('\n');
            return true;
        }
        // The line waits in the local record; it never waited longer than the server's wait.
        *warning = ServerWarning(server, serverName, row);
        setAside = server.RefusedTheValues();
    }
    QString importWarning;
    auto local = OpenLocal(target, &cause, &importWarning);
    if (local && local->Insert(row, !target.serverUri.isEmpty(), &cause)) {
        if (setAside) {
            QSqlQuery mark = local->Prepare(
                QStringLiteral("UPDATE journal SET pending = 2 WHERE line_id = ?"), &cause);
            mark.addBindValue(row.lineId);
            mark.exec();
        }
        if (warning->isEmpty()) *warning = importWarning;
        return true;
    }
    *warning = FillText(Msg::JournalWriteFailed, {target.localPath, cause});
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
        *error = FillText(Msg::JournalReadFailed, {JournalName(target), server.Cause()});
        return -1;
    }
    auto local = OpenLocal(target, &cause, nullptr);
    const int sent =
        local ? SendPending(*local, server, JournalName(target), setAside, &cause) : -1;
    if (sent < 0) *error = FillText(Msg::JournalWriteFailed, {JournalName(target), cause});
    return sent;
}

bool JournalReader::Open(const JournalTarget& target, QString* error, QString* warning) {
    name_ = JournalName(target);
    QString cause;
    if (target.serverUri.isEmpty()) {
        db_ = OpenLocal(target, &cause, warning);
        if (!db_) *error = FillText(Msg::JournalReadFailed, {name_, cause});
        return db_ != nullptr;
    }
    server_ = std::make_unique<JournalServer>();
    if (server_->Open(target.serverUri) != ServerStatus::Ok) {
        *error = FillText(Msg::JournalReadFailed, {name_, server_->Cause()});
        server_.reset();
        return false;
    }
    // What waits for the server goes first, so that the listing shows it. A failure is a delay.
    QStringList setAside;
    if (auto local = OpenLocal(target, &cause, warning))
        SendPending(*local, *server_, name_, &setAside, &cause);
    if (warning && !setAside.isEmpty())
        *warning = (warning->isEmpty() ? setAside : QStringList(*warning) + setAside).join('\n');
    return true;
}

bool JournalReader::Query(const QString& sql, const QVariantList& values, QString* error) {
    failure_.clear();
    if (server_) {
        QString numbered;
        int n = 0;
        for (const QChar c : sql)
            numbered += c == '?' ? QStringLiteral("$%1").arg(++n) : QString(c);
        QList<ServerValue> params;
        for (const QVariant& value : values)
            params << (value.typeId() == QMetaType::QString ? TextValue(value.toString())
                                                            : NumberValue(value.toLongLong()));
        if (server_->Start(numbered.toUtf8().constData(), params) == ServerStatus::Ok) return true;
        *error = FillText(Msg::JournalReadFailed, {name_, server_->Cause()});
        return false;
    }
    QString cause;
    query_ = db_->Prepare(sql, &cause);
    for (const QVariant& value : values) query_.addBindValue(value);
    if (query_.exec()) return true;
    *error = FillText(Msg::JournalReadFailed, {name_, DatabaseCause(query_.lastError())});
    return false;
}

QVariant JournalReader::Value(int column) const {
    if (!server_) return query_.value(column);
    return row_.IsNull(0, column) ? QVariant() : QVariant(row_.Text(0, column));
}

bool JournalReader::Select(const QString& deviceCode, const QDateTime& since, QString* error) {
    return Run(deviceCode, since, {}, 0, error);
}

bool JournalReader::SelectPage(const QString& deviceCode, const LineKey& before, int limit,
                               QString* error) {
    return Run(deviceCode, {}, before, limit, error);
}

// Every condition and order has an index: the codes, and (time_utc, id). A page goes on from
// the key of the last line it showed, so that a page deep in the record costs what the first does.
bool JournalReader::Run(const QString& deviceCode, const QDateTime& since, const LineKey& before,
                        int limit, QString* error) {
    QStringList conditions;
    QVariantList values;
    if (!deviceCode.isEmpty()) {
        conditions << QStringLiteral("(upper(code_before) = ? OR upper(code_after) = ?)");
        values << deviceCode.toUpper() << deviceCode.toUpper();
    }
    if (since.isValid()) {
        conditions << QStringLiteral("time_utc >= ?");
        values << since.toSecsSinceEpoch();
    }
    if (before.id >= 0) {
        conditions << QStringLiteral("(time_utc, id) < (?, ?)");
        values << before.timeUtc << before.id;
    }
    const QString order = limit > 0 ? QStringLiteral("DESC") : QStringLiteral("ASC");
    QString sql =
        QStringLiteral(
            "SELECT %1, id, time_utc, CASE WHEN image IS NULL THEN 0 ELSE 1 END FROM journal %2 "
            "ORDER BY time_utc %3, id %3")
            .arg(JournalColumnList(),
                 conditions.isEmpty() ? QString() : "WHERE " + conditions.join(" AND "), order);
    if (limit > 0) sql += QStringLiteral(" LIMIT %1").arg(limit);
    return Query(sql, values, error);
}

JournalReader::LineKey JournalReader::Key() const {
    return {Value(kJournalColumns + 1).toLongLong(), Value(kJournalColumns).toLongLong()};
}

bool JournalReader::HasImage() const {
    return Value(kJournalColumns + 2).toInt() != 0;
}

bool JournalReader::Next(QStringList* fields) {
    if (server_) {
        if (!server_->NextRow(&row_)) {
            if (server_->LastStatus() != ServerStatus::Ok)
                failure_ = FillText(Msg::JournalReadFailed, {name_, server_->Cause()});
            return false;
        }
    } else if (!query_.next()) {
        if (query_.lastError().isValid())
            failure_ = FillText(Msg::JournalReadFailed, {name_, DatabaseCause(query_.lastError())});
        return false;
    }
    fields->clear();
    for (int column = 0; column < kJournalColumns; ++column) *fields << Value(column).toString();
    return true;
}

bool JournalReader::Failed(QString* error) const {
    if (failure_.isEmpty()) return false;
    *error = failure_;
    return true;
}

QByteArray JournalReader::ImageOfLine(qint64 id) {
    QString error;
    if (server_) {
        ServerRows rows;
        if (server_->Exec("SELECT image FROM journal WHERE id = $1", {NumberValue(id)}, &rows) !=
                ServerStatus::Ok ||
            rows.Count() == 0)
            return QByteArray();
        return rows.Bytes(0, 0);
    }
    if (!Query(QStringLiteral("SELECT image FROM journal WHERE id = ?"), {id}, &error) ||
        !query_.next())
        return QByteArray();
    return query_.value(0).toByteArray();
}

QByteArray JournalReader::LatestImage(const QString& deviceCode, QString* timeText,
                                      QString* error) {
    static const char* const kLatest =
        "SELECT image, time FROM journal WHERE upper(code_after) = %1 "
        "AND image IS NOT NULL ORDER BY time_utc DESC, id DESC LIMIT 1";
    if (server_) {
        ServerRows rows;
        if (server_->Exec(QString::fromLatin1(kLatest).arg("$1").toUtf8().constData(),
                          {TextValue(deviceCode.toUpper())}, &rows) != ServerStatus::Ok) {
            *error = FillText(Msg::JournalReadFailed, {name_, server_->Cause()});
            return QByteArray();
        }
        if (rows.Count() == 0) return QByteArray();
        *timeText = rows.Text(0, 1);
        return rows.Bytes(0, 0);
    }
    if (!Query(QString::fromLatin1(kLatest).arg("?"), {deviceCode.toUpper()}, error) ||
        !query_.next())
        return QByteArray();
    *timeText = query_.value(1).toString();
    return query_.value(0).toByteArray();
}
