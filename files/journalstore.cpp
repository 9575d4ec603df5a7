#include "files/journalstore.h"

#include <pwd.h>
#include <unistd.h>

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

// Sends the pending local lines in batches; each batch is marked sent once the server has it.
int SendPending(JournalDb& local, JournalDb& server, QString* cause) {
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
        qint64 lastId = -1;
        server.Database().transaction();
        while (query.next()) {
            JournalRow row;
            lastId = query.value(0).toLongLong();
            row.lineId = query.value(1).toString();
            row.timeUtc = query.value(2).toLongLong();
            row.image = query.value(3).toByteArray();
            for (int column = 0; column < kJournalColumns; ++column)
                row.fields << query.value(4 + column).toString();
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
        QSqlQuery mark = local.Prepare(
            QStringLiteral("UPDATE journal SET pending = 0 WHERE pending = 1 AND id <= ?"), cause);
        mark.addBindValue(lastId);
        if (!mark.exec()) {
            *cause = DatabaseCause(mark.lastError());
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
            if (auto local = OpenLocal(target, &ignored, warning))
                SendPending(*local, server, &ignored);
            return true;
        }
        *warning = FillText(Msg::JournalServerUnreachable, {MaskedServer(target.serverUri), cause});
    }
    QString importWarning;
    auto local = OpenLocal(target, &cause, &importWarning);
    if (local && local->Insert(row, !target.serverUri.isEmpty(), &cause)) {
        if (warning->isEmpty()) *warning = importWarning;
        return true;
    }
    *warning = FillText(Msg::JournalWriteFailed, {target.localPath, cause});
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
        *error = FillText(Msg::JournalReadFailed, {MaskedServer(target.serverUri), cause});
        return -1;
    }
    auto local = OpenLocal(target, &cause, nullptr);
    const int sent = local ? SendPending(*local, server, &cause) : -1;
    if (sent < 0) *error = FillText(Msg::JournalWriteFailed, {JournalName(target), cause});
    return sent;
}

bool JournalReader::Open(const JournalTarget& target, QString* error, QString* warning) {
    name_ = JournalName(target);
    QString cause;
    if (target.serverUri.isEmpty()) {
        db_ = OpenLocal(target, &cause, warning);
    } else {
        db_ = std::make_unique<JournalDb>();
        if (db_->OpenServer(target.serverUri, &cause)) {
            QString ignored;
            if (auto local = OpenLocal(target, &ignored, warning))
                SendPending(*local, *db_, &ignored);
        } else {
            db_.reset();
        }
    }
    if (!db_) *error = FillText(Msg::JournalReadFailed, {name_, cause});
    return db_ != nullptr;
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
    if (!deviceCode.isEmpty())
        conditions << QStringLiteral("(upper(code_before) = ? OR upper(code_after) = ?)");
    if (since.isValid()) conditions << QStringLiteral("time_utc >= ?");
    if (before.id >= 0) conditions << QStringLiteral("(time_utc, id) < (?, ?)");
    const QString order = limit > 0 ? QStringLiteral("DESC") : QStringLiteral("ASC");
    QString sql =
        QStringLiteral(
            "SELECT %1, id, time_utc, image IS NOT NULL FROM journal %2 "
            "ORDER BY time_utc %3, id %3")
            .arg(JournalColumnList(),
                 conditions.isEmpty() ? QString() : "WHERE " + conditions.join(" AND "), order);
    if (limit > 0) sql += QStringLiteral(" LIMIT %1").arg(limit);
    QString cause;
    query_ = db_->Prepare(sql, &cause);
    if (!deviceCode.isEmpty()) {
        query_.addBindValue(deviceCode.toUpper());
        query_.addBindValue(deviceCode.toUpper());
    }
    if (since.isValid()) query_.addBindValue(since.toSecsSinceEpoch());
    if (before.id >= 0) {
        query_.addBindValue(before.timeUtc);
        query_.addBindValue(before.id);
    }
    if (query_.exec()) return true;
    *error = FillText(Msg::JournalReadFailed, {name_, DatabaseCause(query_.lastError())});
    return false;
}

JournalReader::LineKey JournalReader::Key() const {
    return {query_.value(kJournalColumns + 1).toLongLong(),
            query_.value(kJournalColumns).toLongLong()};
}

bool JournalReader::HasImage() const {
    return query_.value(kJournalColumns + 2).toBool();
}

bool JournalReader::Next(QStringList* fields) {
    if (!query_.next()) return false;
    fields->clear();
    for (int column = 0; column < kJournalColumns; ++column)
        *fields << query_.value(column).toString();
    return true;
}

QByteArray JournalReader::ImageOfLine(qint64 id) {
    QSqlQuery query =
        db_->Prepare(QStringLiteral("SELECT image FROM journal WHERE id = ?"), nullptr);
    query.addBindValue(id);
    return query.exec() && query.next() ? query.value(0).toByteArray() : QByteArray();
}

QByteArray JournalReader::LatestImage(const QString& deviceCode, QString* timeText,
                                      QString* error) {
    QString cause;
    QSqlQuery query = db_->Prepare(
        QStringLiteral("SELECT image, time FROM journal WHERE upper(code_after) = ? "
                       "AND image IS NOT NULL ORDER BY time_utc DESC, id DESC LIMIT 1"),
        &cause);
    query.addBindValue(deviceCode.toUpper());
    if (!query.exec()) {
        *error = FillText(Msg::JournalReadFailed, {name_, DatabaseCause(query.lastError())});
        return QByteArray();
    }
    if (!query.next()) return QByteArray();
    *timeText = query.value(1).toString();
    return query.value(0).toByteArray();
}
