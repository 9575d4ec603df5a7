#include "files/journalquery.h"

#include <sqlite3.h>

#include <QFile>
#include <QSqlQuery>
#include <vector>

#include "files/journaldb.h"
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

class ServerQuery : public JournalQuery {
  public:
    explicit ServerQuery(JournalDb& db) : db_(db) {}
    bool Exec(const QString& sql, const QVariantList& values, QString* cause) override {
        texts_.clear();
        query_ = db_.Prepare(sql, cause);
        for (const QVariant& value : values) query_.addBindValue(value);
        if (query_.exec()) return true;
        *cause = DatabaseCause(query_.lastError());
        return false;
    }
    bool Next(QString* cause) override {
        texts_.clear();
        if (query_.next()) return true;
        if (query_.lastError().isValid() && cause) *cause = DatabaseCause(query_.lastError());
        return false;
    }
    QByteArrayView Text(int column) override {
        if (texts_.size() <= static_cast<size_t>(column)) texts_.resize(column + 1);
        texts_[column] = query_.value(column).toString().toUtf8();
        return texts_[column];
    }
    qint64 Integer(int column) override { return query_.value(column).toLongLong(); }
    QByteArray Bytes(int column) override { return query_.value(column).toByteArray(); }

  private:
    JournalDb& db_;
    QSqlQuery query_;
    std::vector<QByteArray> texts_;
};

}  // namespace

std::unique_ptr<JournalQuery> LocalJournalQuery(const QString& path, QString* cause) {
    auto query = std::make_unique<LocalQuery>();
    if (!query->Open(path, cause)) return nullptr;
    return query;
}

std::unique_ptr<JournalQuery> ServerJournalQuery(JournalDb& db) {
    return std::make_unique<ServerQuery>(db);
}
