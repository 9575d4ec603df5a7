#pragma once
// A query over the record's lines that hands out each column as UTF-8 text. On the local file it
// runs on a SQLite connection of its own, straight through SQLite's interface, so that a listing
// of a million lines costs no conversion per value; on a server it runs through libpq, every value
// a parameter.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QVariantList>
#include <memory>

class JournalServer;

class JournalQuery {
  public:
    virtual ~JournalQuery() = default;
    // Prepares sql and runs it with values (qint64 or QString) bound in order. False with a
    // German cause.
    virtual bool Exec(const QString& sql, const QVariantList& values, QString* cause) = 0;
    // The next line; false at the end (or on an error, then cause says which).
    virtual bool Next(QString* cause = nullptr) = 0;
    // A column of the current line, valid until Next.
    virtual QByteArrayView Text(int column) = 0;
    virtual qint64 Integer(int column) = 0;
    virtual QByteArray Bytes(int column) = 0;
};

// A query on a connection of its own to the local record at path (which exists and has been
// brought to this program's version). Null with a German cause.
std::unique_ptr<JournalQuery> LocalJournalQuery(const QString& path, QString* cause);
// A query on an open server connection, which must outlive it. stream: the rows are taken one
// at a time as the server sends them (a listing); otherwise the whole result at once (a look-up).
std::unique_ptr<JournalQuery> ServerJournalQuery(JournalServer& server, bool stream);
