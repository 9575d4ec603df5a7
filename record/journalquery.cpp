#include "record/journalquery.h"

#include <sqlite3.h>

#include <QFile>
#include <QSqlError>
#include <vector>

#include "record/journaldb.h"
#include "record/journalserver.h"
#include "resources/catalogue.h"
#include "resources/msg.h"

namespace {

// As long as the writer may wait for the lock.
constexpr int kBusyMilliseconds = 5000;

QString SqliteCause(sqlite3* db) {
    QSqlError error(QString(), QString(), QSqlError::StatementError,
                    QString::number(db ? sqlite3_extended_errcode(db) : SQLITE_CANTOPEN));
    return LocalRecordCause(error);
}

class LocalQuery : public JournalQuery {
  public:
    ~LocalQuery() override {
        sqlite3_finalize(statement_);
        sqlite3_close_v2(db_);
    }
    bool Open(const QString& path, QString* cause) {
        // NOFOLLOW is not asked for: the path was checked before, and the user's own link is
        // followed.
        // One thread uses the connection: SQLite's own mutexes would only cost time a line.
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db_,
                            SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
            *cause = SqliteCause(db_);
            return false;
        }
        sqlite3_busy_timeout(db_, kBusyMilliseconds);
        return true;
    }
    bool Exec(const QString& sql, const QVariantList& values, QString* cause) override {
        sqlite3_finalize(statement_);
        statement_ = nullptr;
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(db_, text.constData(), static_cast<int>(text.size()), &statement_,
                               nullptr) != SQLITE_OK) {
            *cause = SqliteCause(db_);
            return false;
        }
        int index = 1;
        for (const QVariant& value : values) {
            if (value.typeId() == QMetaType::QString) {
                const QByteArray utf8 = value.toString().toUtf8();
                sqlite3_bind_text(statement_, index++, utf8.constData(),
                                  static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
            } else {
                sqlite3_bind_int64(statement_, index++, value.toLongLong());
            }
        }
        return true;
    }
    bool Next(QString* cause) override {
        if (!statement_) return false;
        const int result = sqlite3_step(statement_);
        if (result == SQLITE_ROW) return true;
        if (result != SQLITE_DONE && cause) *cause = SqliteCause(db_);
        // A finished statement lets go of its snapshot, so that it holds up no checkpoint.
        sqlite3_reset(statement_);
        return false;
    }
    QByteArrayView Text(int column) override {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
        return QByteArrayView(text, sqlite3_column_bytes(statement_, column));
    }
    qint64 Integer(int column) override { return sqlite3_column_int64(statement_, column); }
    QByteArray Bytes(int column) override {
        const void* data = sqlite3_column_blob(statement_, column);
        return QByteArray(static_cast<const char*>(data), sqlite3_column_bytes(statement_, column));
    }

  private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* statement_ = nullptr;
};

// ? in sql becomes $1, $2 ... as libpq numbers its values; a ? inside quotes stays.
QByteArray Numbered(const QString& sql) {
    QString numbered;
    numbered.reserve(sql.size() + 16);
    int n = 0;
    bool quoted = false;
    for (const QChar c : sql) {
        if (c == '\'') quoted = !quoted;
        if (c == '?' && !quoted)
            numbered += QStringLiteral("$%1").arg(++n);
        else
            numbered += c;
    }
    return numbered.toUtf8();
}

class ServerQuery : public JournalQuery {
  public:
    ServerQuery(JournalServer& server, bool stream) : server_(server), stream_(stream) {}
    bool Exec(const QString& sql, const QVariantList& values, QString* cause) override {
        rows_ = ServerRows();
        row_ = -1;
        QList<ServerValue> params;
        for (const QVariant& value : values)
            params << (value.typeId() == QMetaType::QString ? TextValue(value.toString())
                                                            : NumberValue(value.toLongLong()));
        const QByteArray text = Numbered(sql);
        const ServerStatus status = stream_ ? server_.Start(text.constData(), params)
                                            : server_.Exec(text.constData(), params, &rows_);
        if (status == ServerStatus::Ok) return true;
        *cause = server_.Cause();
        return false;
    }
    bool Next(QString* cause) override {
        if (!stream_) return ++row_ < rows_.Count();
        if (server_.NextRow(&rows_)) {
            row_ = 0;
            return true;
        }
        // A listing that the server or the network cut short must not look complete.
        if (server_.LastStatus() != ServerStatus::Ok && cause) *cause = server_.Cause();
        return false;
    }
    QByteArrayView Text(int column) override { return rows_.Raw(row_, column); }
    qint64 Integer(int column) override { return rows_.Number(row_, column); }
    QByteArray Bytes(int column) override { return rows_.Bytes(row_, column); }

  private:
    JournalServer& server_;
    bool stream_;
    ServerRows rows_;
    int row_ = -1;
};

}  // namespace

std::unique_ptr<JournalQuery> LocalJournalQuery(const QString& path, QString* cause) {
    auto query = std::make_unique<LocalQuery>();
    if (!query->Open(path, cause)) return nullptr;
    return query;
}

std::unique_ptr<JournalQuery> ServerJournalQuery(JournalServer& server, bool stream) {
    return std::make_unique<ServerQuery>(server, stream);
}
