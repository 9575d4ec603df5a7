#pragma once
// One connection to a company's journal server (PostgreSQL) on libpq's asynchronous calls. No
// wait on the network (connecting, sending, a result) lasts longer than the wait given, however
// the server or a proxy on the way stalls; a wait also ends at once when the interrupt descriptor
// becomes readable (korbi-cli's Ctrl+C). After a wait that ended so, the connection is given up
// and every later call fails at once. Values always travel as parameters, never inside the SQL.

#include <libpq-fe.h>

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

// How one call ended.
enum class ServerStatus {
    Ok,
    NotUnderstood,  // the address is no postgresql:// URI, or libpq cannot read it
    Unreachable,    // no connection could be made
    TimedOut,       // the server did not answer within the wait
    Interrupted,    // a signal ended the wait
    Refused,        // the server answered with an error (see SqlState)
    Lost,           // the connection broke
    Newer,          // the server's record is of a version this program does not know: untouched
};

// The longest a single wait on the server may last.
constexpr int kJournalServerWaitMs = 3000;

// The descriptor whose readability ends every wait of the calling thread at once; -1 for none.
// korbi-cli names its signal pipe here. The descriptor is kept apart from the server client
// (files/serverinterrupt.cpp), so that naming it links nothing of the client.
void SetJournalServerInterrupt(int descriptor);
int JournalServerInterrupt();

// A pipe that becomes readable once woken, and stays so: as a thread's interrupt descriptor it
// ends that thread's server waits at once, for good.
class WakePipe {
  public:
    WakePipe();
    ~WakePipe();
    WakePipe(const WakePipe&) = delete;
    WakePipe& operator=(const WakePipe&) = delete;
    void Wake();
    // -1 when the pipe could not be made.
    int ReadEnd() const { return fds_[0]; }

  private:
    int fds_[2] = {-1, -1};
};

// Looks up a server's host name: 0 with its addresses as numbers ("192.0.2.7", "::1"), or a
// getaddrinfo error. The system's look-up cannot be bounded, so it runs on a thread that is left
// behind when it does not answer in time; tests put a stalled one in. Null restores the system's.
using HostLookup = int (*)(const std::string& host, std::vector<std::string>* addresses);
void SetHostLookup(HostLookup lookup);

// A parameter of a statement: text (UTF-8), a number or bytes; a null value for none.
struct ServerValue {
    QByteArray bytes;
    bool binary = false;  // bytes go as they are, with their length (text and bytea)
    bool null = false;
};
ServerValue TextValue(const QString& text);
ServerValue NumberValue(qint64 number);
// Empty bytes are NULL.
ServerValue BytesValue(const QByteArray& bytes);

// The rows of a result (text format).
class ServerRows {
  public:
    ServerRows() = default;
    explicit ServerRows(PGresult* result) : result_(result, PQclear) {}
    int Count() const { return result_ ? PQntuples(result_.get()) : 0; }
    bool IsNull(int row, int column) const;
    QString Text(int row, int column) const;
    qint64 Number(int row, int column) const;
    QByteArray Bytes(int row, int column) const;  // a bytea column
    // The text as the server sent it, valid as long as these rows are.
    QByteArrayView Raw(int row, int column) const;

  private:
    std::shared_ptr<PGresult> result_;
};

class JournalServer {
  public:
    explicit JournalServer(int waitMs = kJournalServerWaitMs);
    ~JournalServer();
    JournalServer(const JournalServer&) = delete;
    JournalServer& operator=(const JournalServer&) = delete;

    // Connects to the server named by a postgresql:// URI (what it leaves out comes from PGHOST
    // and the like) and brings its tables to this program's version (record/journalschema.h).
    ServerStatus Open(const QString& address);
    // Runs one statement ($1, $2 ... for the values) and takes its whole result.
    ServerStatus Exec(const char* sql, const QList<ServerValue>& values,
                      ServerRows* rows = nullptr);
    // Runs one statement whose rows are then taken one at a time with NextRow: memory does not
    // grow with the result.
    ServerStatus Start(const char* sql, const QList<ServerValue>& values);
    // The next row of the statement Start began (in rows, its row 0); false at the end or on
    // failure (LastStatus says which).
    bool NextRow(ServerRows* rows);

    ServerStatus LastStatus() const { return status_; }
    // Whether the rows of a statement Start began are still being handed out.
    bool Streaming() const { return streaming_; }
    // The rows the last Exec inserted, changed or deleted.
    int Affected() const { return affected_; }
    // The SQLSTATE of the last error the server sent ("23505"); empty for none.
    QString SqlState() const { return sqlState_; }
    // Whether the server refused the values themselves (classes 22 and 23): sent again, they
    // would be refused again.
    bool RefusedTheValues() const;
    // What went wrong last, one line in German where the program knows the case.
    QString Cause() const { return cause_; }

  private:
    ServerStatus Fail(ServerStatus status, const QString& cause);
    // The host names of the parsed address looked up within the wait, as libpq's hostaddr (with
    // host and port to match); false when a look-up failed or did not end in time.
    bool LookUpHosts(PQconninfoOption* options, QByteArray* host, QByteArray* hostAddress,
                     QByteArray* port);
    ServerStatus WaitFor(bool writing);
    ServerStatus Send(const char* sql, const QList<ServerValue>& values);
    // The next result of the statement in flight; null when there is none left.
    ServerStatus NextResult(PGresult** result);
    ServerStatus Drain();
    ServerStatus CheckResult(PGresult* result);

    PGconn* conn_ = nullptr;
    std::chrono::milliseconds wait_;
    bool streaming_ = false;
    ServerStatus status_ = ServerStatus::Ok;
    int affected_ = 0;
    QString sqlState_;
    QString cause_;
};
