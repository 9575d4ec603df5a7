#include "record/journalserver.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <unistd.h>

#include <QtEndian>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <mutex>
#include <thread>
#include <vector>

#include "files/secrets.h"
#include "record/journaldb.h"
#include "record/journalschema.h"
#include "resources/catalogue.h"
#include "resources/msg.h"

namespace {

// Causes the program words itself, by SQLSTATE; anything else keeps the server's text.
const struct {
    const char* state;
    const char* cause;
} kKnownStates[] = {
    {"55P03", "eine Tabelle des Protokollservers ist gesperrt"},
    {"57014", "der Protokollserver hat die Anweisung nicht rechtzeitig ausgeführt"},
    {"42501", "keine Berechtigung auf dem Protokollserver"},
    {"22021", "ein Feld enthält Zeichen, die der Protokollserver nicht speichert"},
    {"53100", "der Speicherplatz des Protokollservers ist voll"},
};

QString CauseOfResult(const PGresult* result, const QString& state) {
    for (const auto& known : kKnownStates) {
        if (state == QLatin1String(known.state)) return QString::fromUtf8(known.cause);
    }
    return QString::fromUtf8(PQresultErrorMessage(result)).simplified();
}

void IgnoreNotice(void*, const char*) {}

int SystemHostLookup(const std::string& host, std::vector<std::string>* addresses) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int error = ::getaddrinfo(host.c_str(), nullptr, &hints, &found);
    if (error != 0) return error;
    for (const addrinfo* a = found; a; a = a->ai_next) {
        char text[NI_MAXHOST];
        if (::getnameinfo(a->ai_addr, a->ai_addrlen, text, sizeof text, nullptr, 0,
                          NI_NUMERICHOST) == 0 &&
            std::find(addresses->begin(), addresses->end(), text) == addresses->end())
            addresses->push_back(text);
    }
    ::freeaddrinfo(found);
    return addresses->empty() ? EAI_NONAME : 0;
}

std::atomic<HostLookup> hostLookup{SystemHostLookup};

// A look-up on a thread of its own, shared with that thread: it may outlive the connection that
// gave up waiting for it. ready becomes readable when the look-up is over.
struct PendingLookup {
    WakePipe ready;
    std::mutex mutex;
    int error = EAI_AGAIN;
    std::vector<std::string> addresses;
};

enum class Waited { Ready, TimedOut, Interrupted, Failed };

// Waits until fd is ready for events, the deadline passes or the thread's interrupt descriptor
// becomes readable.
Waited WaitUntil(int fd, short events, std::chrono::steady_clock::time_point deadline) {
    pollfd fds[2] = {{fd, events, 0}, {JournalServerInterrupt(), POLLIN, 0}};
    const nfds_t count = fds[1].fd >= 0 ? 2 : 1;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return Waited::TimedOut;
        const int ready = ::poll(fds, count, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return Waited::Failed;
        if (count == 2 && (fds[1].revents & POLLIN)) return Waited::Interrupted;
        if (ready > 0) return Waited::Ready;
    }
}

bool IsAddressOrSocket(const QByteArray& host) {
    if (host.isEmpty() || host.startsWith('/') || host.startsWith('@')) return true;
    unsigned char address[sizeof(in6_addr)];
    return ::inet_pton(AF_INET, host.constData(), address) == 1 ||
           ::inet_pton(AF_INET6, host.constData(), address) == 1;
}

QByteArray OptionValue(const PQconninfoOption* options, const char* keyword, const char* variable) {
    for (const PQconninfoOption* option = options; option->keyword; ++option) {
        if (qstrcmp(option->keyword, keyword) == 0 && option->val && *option->val)
            return QByteArray(option->val);
    }
    return qgetenv(variable);
}

}  // namespace

// The ladder of the record's versions, run on this connection.
class ServerSchema : public SchemaConnection {
  public:
    explicit ServerSchema(JournalServer& server) : server_(server) {}
    bool Run(const QString& sql, QString* cause) override {
        if (server_.Exec(sql.toUtf8().constData(), {}) == ServerStatus::Ok) return true;
        *cause = server_.Cause();
        if (failure_ == ServerStatus::Ok) failure_ = server_.LastStatus();
        return false;
    }
    // How the first statement that failed ended (the ROLLBACK after it must not hide it).
    ServerStatus Failure() const { return failure_; }
    int StoredVersion() override {
        ServerRows rows;
        if (server_.Exec("SELECT max(version) FROM schema_version", {}, &rows) !=
                ServerStatus::Ok ||
            rows.Count() == 0)
            return -1;
        return static_cast<int>(rows.Number(0, 0));
    }

  private:
    JournalServer& server_;
    ServerStatus failure_ = ServerStatus::Ok;
};

namespace {}  // namespace

WakePipe::WakePipe() {
    if (::pipe2(fds_, O_CLOEXEC) != 0) fds_[0] = fds_[1] = -1;
}

WakePipe::~WakePipe() {
    for (const int fd : fds_) {
        if (fd >= 0) ::close(fd);
    }
}

void WakePipe::Wake() {
    if (fds_[1] >= 0) {
        [[maybe_unused]] const ssize_t n = ::write(fds_[1], "x", 1);
    }
}

void SetHostLookup(HostLookup lookup) {
    hostLookup = lookup ? lookup : SystemHostLookup;
}

ServerValue TextValue(const QString& text) {
    // Sent with its length: a NUL inside reaches the server, which refuses it, instead of cutting
    // the value short.
    return {text.toUtf8(), true, false};
}

ServerValue NumberValue(qint64 number) {
    return {QByteArray::number(number), false, false};
}

ServerValue BytesValue(const QByteArray& bytes) {
    return {bytes, true, bytes.isEmpty()};
}

bool ServerRows::IsNull(int row, int column) const {
    return !result_ || PQgetisnull(result_.get(), row, column);
}

QString ServerRows::Text(int row, int column) const {
    if (IsNull(row, column)) return QString();
    return QString::fromUtf8(PQgetvalue(result_.get(), row, column),
                             PQgetlength(result_.get(), row, column));
}

qint64 ServerRows::Number(int row, int column) const {
    return IsNull(row, column) ? 0
                               : QByteArray(PQgetvalue(result_.get(), row, column)).toLongLong();
}

QByteArray ServerRows::Bytes(int row, int column) const {
    if (IsNull(row, column)) return QByteArray();
    size_t length = 0;
    unsigned char* bytes = PQunescapeBytea(
        reinterpret_cast<const unsigned char*>(PQgetvalue(result_.get(), row, column)), &length);
    if (!bytes) return QByteArray();
    QByteArray data(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(length));
    PQfreemem(bytes);
    return data;
}

QByteArrayView ServerRows::Raw(int row, int column) const {
    if (IsNull(row, column)) return QByteArrayView();
    return QByteArrayView(PQgetvalue(result_.get(), row, column),
                          PQgetlength(result_.get(), row, column));
}

JournalServer::JournalServer(int waitMs) : wait_(waitMs) {}

JournalServer::~JournalServer() {
    if (conn_) PQfinish(conn_);
}

ServerStatus JournalServer::Fail(ServerStatus status, const QString& cause) {
    status_ = status;
    cause_ = cause;
    // Whatever the server still sends for a statement given up on would come before the next
    // statement's answer: the connection is of no further use.
    if (status != ServerStatus::Refused && conn_) {
        PQfinish(conn_);
        conn_ = nullptr;
    }
    return status;
}

// Waits until the socket is ready or the wait is over.
ServerStatus JournalServer::WaitFor(bool writing) {
    switch (WaitUntil(PQsocket(conn_), short(writing ? POLLOUT : POLLIN),
                      std::chrono::steady_clock::now() + wait_)) {
        case Waited::Ready:
            return ServerStatus::Ok;
        case Waited::TimedOut:
            return Fail(ServerStatus::TimedOut,
                        QStringLiteral("keine Antwort innerhalb von %1 Sekunden")
                            .arg(wait_.count() / 1000.0, 0, 'g', 2));
        case Waited::Interrupted:
            return Fail(ServerStatus::Interrupted, QStringLiteral("abgebrochen"));
        case Waited::Failed:
            break;
    }
    return Fail(ServerStatus::Lost, QString::fromLocal8Bit(strerror(errno)));
}

// libpq looks host names up itself, and nothing bounds that wait. So each name is looked up here
// within the server's wait, and libpq gets the addresses as hostaddr: it connects to them without
// a look-up of its own, and still checks the server's certificate against the name in host. A
// name with several addresses becomes as many hosts, tried in order as libpq tries them.
bool JournalServer::LookUpHosts(PQconninfoOption* options, QByteArray* host,
                                QByteArray* hostAddress, QByteArray* port) {
    if (!OptionValue(options, "hostaddr", "PGHOSTADDR").isEmpty()) return true;
    const QList<QByteArray> names = OptionValue(options, "host", "PGHOST").split(',');
    if (std::all_of(names.begin(), names.end(), IsAddressOrSocket)) return true;
    const QList<QByteArray> ports = OptionValue(options, "port", "PGPORT").split(',');
    const bool portEach = ports.size() > 1 && ports.size() == names.size();
    QList<QByteArray> hosts, addresses, hostPorts;
    const auto deadline = std::chrono::steady_clock::now() + wait_;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QByteArray& name = names[i];
        std::vector<std::string> found{std::string()};  // a socket or an address: as it is
        if (!IsAddressOrSocket(name)) {
            const auto lookup = std::make_shared<PendingLookup>();
            const QString shown = QString::fromUtf8(name);
            if (lookup->ready.ReadEnd() < 0) {
                Fail(ServerStatus::Unreachable, QString::fromLocal8Bit(strerror(errno)));
                return false;
            }
            try {
                std::thread([lookup, name = name.toStdString(), run = hostLookup.load()] {
                    std::vector<std::string> addresses;
                    const int error = run(name, &addresses);
                    std::lock_guard<std::mutex> lock(lookup->mutex);
                    lookup->error = error;
                    lookup->addresses = std::move(addresses);
                    lookup->ready.Wake();
                }).detach();
            } catch (const std::system_error&) {
                Fail(ServerStatus::Unreachable,
                     QStringLiteral("der Rechnername %1 kann nicht aufgelöst werden").arg(shown));
                return false;
            }
            switch (WaitUntil(lookup->ready.ReadEnd(), POLLIN, deadline)) {
                case Waited::Ready:
                    break;
                case Waited::TimedOut:
                    Fail(ServerStatus::TimedOut,
                         QStringLiteral("der Rechnername %1 wurde nicht innerhalb von %2 "
                                        "Sekunden aufgelöst")
                             .arg(shown)
                             .arg(wait_.count() / 1000.0, 0, 'g', 2));
                    return false;
                case Waited::Interrupted:
                    Fail(ServerStatus::Interrupted, QStringLiteral("abgebrochen"));
                    return false;
                case Waited::Failed:
                    Fail(ServerStatus::Lost, QString::fromLocal8Bit(strerror(errno)));
                    return false;
            }
            std::lock_guard<std::mutex> lock(lookup->mutex);
            if (lookup->error != 0) {
                Fail(ServerStatus::Unreachable,
                     QStringLiteral("der Rechnername %1 ist unbekannt").arg(shown));
                return false;
            }
            found = lookup->addresses;
        }
        for (const std::string& address : found) {
            hosts << name;
            addresses << QByteArray::fromStdString(address);
            if (portEach) hostPorts << ports[i];
        }
    }
    *host = hosts.join(',');
    *hostAddress = addresses.join(',');
    *port = hostPorts.join(',');
    return true;
}

ServerStatus JournalServer::Open(const QString& address) {
    status_ = ServerStatus::Ok;
    if (!IsServerUri(address))
        return Fail(ServerStatus::NotUnderstood, QStringLiteral("keine postgresql://-Adresse"));
    const QByteArray uri = address.toUtf8();
    const QByteArray timeout = QByteArray::number((wait_.count() + 999) / 1000);
    // The URI is read by libpq itself (expand_dbname); its own connect_timeout wins.
    // The URI is read by libpq itself (expand_dbname); its own connect_timeout wins, and the
    // looked-up addresses win over its host.
    // TCP keepalives and a bound on unacknowledged data let both ends find a dead network within
    // seconds: the server's end frees what the session held, this end stops waiting.
    const QByteArray userTimeout = QByteArray::number(wait_.count() * 2);
    std::vector<const char*> keys = {
        "connect_timeout",          "keepalives",       "keepalives_idle", "keepalives_interval",
        "keepalives_count",         "tcp_user_timeout", "dbname",          "client_encoding",
        "fallback_application_name"};
    std::vector<const char*> values = {
        timeout.constData(), "1",    "5",    "2", "3", userTimeout.constData(),
        uri.constData(),     "UTF8", "korbi"};
    char* unreadable = nullptr;
    PQconninfoOption* options = PQconninfoParse(uri.constData(), &unreadable);
    if (!options) {
        const QString cause = unreadable ? QString::fromUtf8(unreadable).simplified() : QString();
        PQfreemem(unreadable);
        return Fail(ServerStatus::NotUnderstood, MaskSecrets(cause));
    }
    QByteArray host, hostAddress, port;
    const bool found = LookUpHosts(options, &host, &hostAddress, &port);
    PQconninfoFree(options);
    if (!found) return status_;
    for (const auto& [key, value] : {std::pair{"host", &host}, std::pair{"hostaddr", &hostAddress},
                                     std::pair{"port", &port}}) {
        if (value->isEmpty()) continue;
        keys.push_back(key);
        values.push_back(value->constData());
    }
    keys.push_back(nullptr);
    values.push_back(nullptr);
    conn_ = PQconnectStartParams(keys.data(), values.data(), 1);
    if (!conn_) return Fail(ServerStatus::Unreachable, QStringLiteral("kein Speicher"));
    if (PQstatus(conn_) == CONNECTION_BAD)
        return Fail(ServerStatus::Unreachable,
                    MaskSecrets(QString::fromUtf8(PQerrorMessage(conn_)).simplified()));
    PQsetNoticeProcessor(conn_, IgnoreNotice, nullptr);
    for (PostgresPollingStatusType polling = PGRES_POLLING_WRITING;;) {
        if (polling == PGRES_POLLING_OK) break;
        if (polling == PGRES_POLLING_FAILED)
            return Fail(ServerStatus::Unreachable,
                        MaskSecrets(QString::fromUtf8(PQerrorMessage(conn_)).simplified()));
        const ServerStatus waited = WaitFor(polling == PGRES_POLLING_WRITING);
        if (waited != ServerStatus::Ok) return waited;
        polling = PQconnectPoll(conn_);
    }
    if (PQsetnonblocking(conn_, 1) != 0)
        return Fail(ServerStatus::Lost, QString::fromUtf8(PQerrorMessage(conn_)).simplified());
    // The server's own limits stay below the client's wait, so that a statement held up by a lock
    // ends with the server's word for it rather than with a silent time-out. A session that stops
    // talking in the middle of a transaction (a stalled network) loses it, and its locks, after
    // one wait: this station never waits longer for its next statement.
    const QByteArray limits = QStringLiteral(
                                  "SET statement_timeout = %1; SET lock_timeout = %2; "
                                  "SET idle_in_transaction_session_timeout = %1; "
                                  "SET client_min_messages = warning")
                                  .arg(wait_.count())
                                  .arg(wait_.count() * 2 / 3)
                                  .toUtf8();
    if (Exec(limits.constData(), {}) != ServerStatus::Ok) return status_;
    ServerSchema schema(*this);
    int version = 0;
    QString cause;
    switch (UpgradeJournalSchema(schema, true, &version, &cause)) {
        case SchemaResult::Ready:
            return ServerStatus::Ok;
        case SchemaResult::Newer:
            return Fail(
                ServerStatus::Newer,
                FillText(Msg::JournalNewerVersion, {MaskSecrets(address), QString::number(version),
                                                    QString::number(JournalSchemaVersion())}));
        case SchemaResult::Failed:
            break;
    }
    status_ = schema.Failure() == ServerStatus::Ok ? ServerStatus::Refused : schema.Failure();
    cause_ = cause;
    return status_;
}

ServerStatus JournalServer::Send(const char* sql, const QList<ServerValue>& values) {
    sqlState_.clear();
    if (!conn_) return Fail(status_ == ServerStatus::Ok ? ServerStatus::Lost : status_, cause_);
    if (streaming_ && Drain() != ServerStatus::Ok) return status_;
    std::vector<const char*> data;
    std::vector<int> lengths, formats;
    for (const ServerValue& value : values) {
        data.push_back(value.null ? nullptr : value.bytes.constData());
        lengths.push_back(static_cast<int>(value.bytes.size()));
        formats.push_back(value.binary ? 1 : 0);
    }
    const int count = static_cast<int>(values.size());
    // A statement without values may hold several commands (the session's settings).
    const int sent = count == 0 ? PQsendQuery(conn_, sql)
                                : PQsendQueryParams(conn_, sql, count, nullptr, data.data(),
                                                    lengths.data(), formats.data(), 0);
    if (!sent)
        return Fail(ServerStatus::Lost, QString::fromUtf8(PQerrorMessage(conn_)).simplified());
    for (;;) {
        const int flushed = PQflush(conn_);
        if (flushed == 0) return ServerStatus::Ok;
        if (flushed < 0)
            return Fail(ServerStatus::Lost, QString::fromUtf8(PQerrorMessage(conn_)).simplified());
        const ServerStatus waited = WaitFor(true);
        if (waited != ServerStatus::Ok) return waited;
        PQconsumeInput(conn_);
    }
}

ServerStatus JournalServer::NextResult(PGresult** result) {
    while (PQisBusy(conn_)) {
        const ServerStatus waited = WaitFor(false);
        if (waited != ServerStatus::Ok) return waited;
        if (!PQconsumeInput(conn_))
            return Fail(ServerStatus::Lost, QString::fromUtf8(PQerrorMessage(conn_)).simplified());
    }
    *result = PQgetResult(conn_);
    return ServerStatus::Ok;
}

ServerStatus JournalServer::CheckResult(PGresult* result) {
    switch (PQresultStatus(result)) {
        case PGRES_COMMAND_OK:
        case PGRES_TUPLES_OK:
        case PGRES_SINGLE_TUPLE:
            return ServerStatus::Ok;
        default:
            break;
    }
    if (PQstatus(conn_) == CONNECTION_BAD)
        return Fail(ServerStatus::Lost, QString::fromUtf8(PQerrorMessage(conn_)).simplified());
    sqlState_ = QString::fromLatin1(PQresultErrorField(result, PG_DIAG_SQLSTATE));
    return Fail(ServerStatus::Refused, CauseOfResult(result, sqlState_));
}

ServerStatus JournalServer::Drain() {
    streaming_ = false;
    for (;;) {
        PGresult* result = nullptr;
        if (NextResult(&result) != ServerStatus::Ok) return status_;
        if (!result) return ServerStatus::Ok;
        PQclear(result);
    }
}

ServerStatus JournalServer::Exec(const char* sql, const QList<ServerValue>& values,
                                 ServerRows* rows) {
    status_ = ServerStatus::Ok;
    affected_ = 0;
    if (Send(sql, values) != ServerStatus::Ok) return status_;
    // Several commands give several results: the first failure counts, the last rows are kept.
    ServerStatus outcome = ServerStatus::Ok;
    QString sqlState, cause;
    for (;;) {
        PGresult* result = nullptr;
        if (NextResult(&result) != ServerStatus::Ok) return status_;
        if (!result) break;
        if (outcome == ServerStatus::Ok && CheckResult(result) != ServerStatus::Ok) {
            outcome = status_;
            sqlState = sqlState_;
            cause = cause_;
        }
        if (!conn_) {
            PQclear(result);
            return status_;
        }
        affected_ = QByteArray(PQcmdTuples(result)).toInt();
        if (rows)
            *rows = ServerRows(result);
        else
            PQclear(result);
    }
    status_ = outcome;
    sqlState_ = sqlState;
    cause_ = cause;
    return outcome;
}

bool JournalServer::RefusedTheValues() const {
    return status_ == ServerStatus::Refused &&
           (sqlState_.startsWith(QLatin1String("22")) || sqlState_.startsWith(QLatin1String("23")));
}

ServerStatus JournalServer::Start(const char* sql, const QList<ServerValue>& values) {
    status_ = ServerStatus::Ok;
    if (Send(sql, values) != ServerStatus::Ok) return status_;
    PQsetSingleRowMode(conn_);
    streaming_ = true;
    return ServerStatus::Ok;
}

bool JournalServer::NextRow(ServerRows* rows) {
    if (!streaming_ || !conn_) return false;
    PGresult* result = nullptr;
    if (NextResult(&result) != ServerStatus::Ok) return false;
    if (result && PQresultStatus(result) == PGRES_SINGLE_TUPLE) {
        *rows = ServerRows(result);
        return true;
    }
    // The end of the rows, or an error in their middle: either way the statement is over.
    if (result) {
        CheckResult(result);
        PQclear(result);
    }
    if (conn_) Drain();
    return false;
}
