#include "record/codereservations.h"

#include <unistd.h>

#include <QDateTime>
#include <QSysInfo>
#include <atomic>

namespace {

// The code is this station's unless the record shows it on a device or a station holds it.
const char* const kReserve =
    "INSERT INTO code_reservation (code, state, station, time_utc) "
    "SELECT $1, 'reserved', $2, $3 WHERE NOT EXISTS (SELECT 1 FROM journal "
    "WHERE upper(code_before) = $1 OR upper(code_after) = $1) "
    // A code this station holds already (its device was never identified) is its own again.
    "ON CONFLICT (code) DO UPDATE SET time_utc = EXCLUDED.time_utc "
    "WHERE code_reservation.station = EXCLUDED.station AND code_reservation.state = 'reserved'";
const char* const kRelease =
    "DELETE FROM code_reservation WHERE code = $1 AND station = $2 AND state = 'reserved'";
const char* const kMarkUsed =
    "UPDATE code_reservation SET state = 'used', time_utc = $3 WHERE code = $1 AND station = $2";
const char* const kCheck =
    "SELECT 1 FROM code_reservation WHERE code = $1 UNION ALL SELECT 1 FROM journal "
    "WHERE upper(code_before) = $1 OR upper(code_after) = $1 LIMIT 1";

const char* const kReserveAgain =
    "INSERT INTO code_reservation (code, state, station, time_utc) VALUES ($1, 'reserved', $2, $3) "
    "ON CONFLICT (code) DO UPDATE SET time_utc = EXCLUDED.time_utc "
    "WHERE code_reservation.station = EXCLUDED.station AND code_reservation.state = 'reserved'";
// The reservation first, then the record's newest line that names the code.
const char* const kHolder =
    "(SELECT 0 AS kind, station, time_utc, state, '' AS b, '' AS c, '' AS d "
    "FROM code_reservation WHERE code = $1) UNION ALL "
    "(SELECT 1, login_name || '@' || host_name, time_utc, time, code_before, code_after, "
    "production_date FROM journal WHERE upper(code_before) = $1 OR upper(code_after) = $1 "
    "ORDER BY time_utc DESC, id DESC LIMIT 1) ORDER BY kind";

std::atomic<int> stations{0};

}  // namespace

CodeReservations::CodeReservations()
    : station_(QStringLiteral("%1@%2:%3.%4")
                   .arg(qEnvironmentVariable("LOGNAME"), QSysInfo::machineHostName())
                   .arg(::getpid())
                   .arg(stations.fetch_add(1))) {}

CodeReservations::~CodeReservations() = default;

bool CodeReservations::Open(const QString& address) {
    // Opening brings the server's tables, the reservations among them, to this version.
    server_ = std::make_unique<JournalServer>();
    return server_->Open(address) == ServerStatus::Ok;
}

CodeClaim CodeReservations::Reserve(const QString& code) {
    return Insert(kReserve, code);
}

CodeClaim CodeReservations::Insert(const char* sql, const QString& code) {
    if (!server_) return CodeClaim::Unavailable;
    const QList<ServerValue> values{TextValue(code.toUpper()), TextValue(station_),
                                    NumberValue(QDateTime::currentSecsSinceEpoch())};
    if (server_->Exec(sql, values) != ServerStatus::Ok) return CodeClaim::Unavailable;
    return server_->Affected() == 1 ? CodeClaim::Reserved : CodeClaim::Taken;
}

bool CodeReservations::Release(const QString& code) {
    return server_ && server_->Exec(kRelease, {TextValue(code.toUpper()), TextValue(station_)}) ==
                          ServerStatus::Ok;
}

bool CodeReservations::MarkUsed(const QString& code) {
    const QList<ServerValue> values{TextValue(code.toUpper()), TextValue(station_),
                                    NumberValue(QDateTime::currentSecsSinceEpoch())};
    return server_ && server_->Exec(kMarkUsed, values) == ServerStatus::Ok;
}

CodeClaim CodeReservations::Check(const QString& code) {
    ServerRows rows;
    if (!server_ || server_->Exec(kCheck, {TextValue(code.toUpper())}, &rows) != ServerStatus::Ok)
        return CodeClaim::Unavailable;
    return rows.Count() > 0 ? CodeClaim::Taken : CodeClaim::Free;
}

QString CodeReservations::Cause() const {
    return server_ ? server_->Cause() : QString();
}

CodeClaim CodeReservations::ReserveAgain(const QString& code) {
    return Insert(kReserveAgain, code);
}

bool CodeReservations::FindHolder(const QString& code, Holder* holder) {
    ServerRows rows;
    if (!server_ || server_->Exec(kHolder, {TextValue(code.toUpper())}, &rows) != ServerStatus::Ok)
        return false;
    *holder = Holder();
    for (int row = 0; row < rows.Count(); ++row) {
        if (rows.Number(row, 0) == 0) {
            holder->station = rows.Text(row, 1);
            holder->timeUtc = rows.Number(row, 2);
            holder->used = rows.Text(row, 3) == QLatin1String("used");
            holder->mine = holder->station == station_;
        } else {
            holder->line = QStringList{rows.Text(row, 3), rows.Text(row, 4), rows.Text(row, 5),
                                       rows.Text(row, 1), rows.Text(row, 6)};
            holder->lineTimeUtc = rows.Number(row, 2);
        }
    }
    return true;
}
