// SQLite is opened when the record is first read directly, not when the program starts: most
// starts never list the record, and the journal's writes go through Qt SQL's plugin, which
// brings its own. Without the library the record cannot be opened, as with any other cause.

#include <sqlite3.h>

#include "files/lazylibrary.h"

namespace {

const LazyLibrary& Sqlite() {
    static const LazyLibrary library("libsqlite3.so.0");
    return library;
}

}  // namespace

#define SQLITE(name) static const auto real = Sqlite().Resolve(&::name, #name)

int sqlite3_open_v2(const char* filename, sqlite3** db, int flags, const char* vfs) {
    SQLITE(sqlite3_open_v2);
    if (real) return real(filename, db, flags, vfs);
    *db = nullptr;
    return SQLITE_CANTOPEN;
}

int sqlite3_close_v2(sqlite3* db) {
    SQLITE(sqlite3_close_v2);
    return real ? real(db) : SQLITE_OK;
}

int sqlite3_busy_timeout(sqlite3* db, int ms) {
    SQLITE(sqlite3_busy_timeout);
    return real ? real(db, ms) : SQLITE_MISUSE;
}

int sqlite3_extended_errcode(sqlite3* db) {
    SQLITE(sqlite3_extended_errcode);
    return real ? real(db) : SQLITE_CANTOPEN;
}

int sqlite3_prepare_v2(sqlite3* db, const char* sql, int bytes, sqlite3_stmt** statement,
                       const char** tail) {
    SQLITE(sqlite3_prepare_v2);
    if (real) return real(db, sql, bytes, statement, tail);
    *statement = nullptr;
    return SQLITE_MISUSE;
}

int sqlite3_bind_int64(sqlite3_stmt* statement, int index, sqlite3_int64 value) {
    SQLITE(sqlite3_bind_int64);
    return real ? real(statement, index, value) : SQLITE_MISUSE;
}

int sqlite3_bind_text(sqlite3_stmt* statement, int index, const char* text, int bytes,
                      void (*release)(void*)) {
    SQLITE(sqlite3_bind_text);
    return real ? real(statement, index, text, bytes, release) : SQLITE_MISUSE;
}

int sqlite3_step(sqlite3_stmt* statement) {
    SQLITE(sqlite3_step);
    return real ? real(statement) : SQLITE_MISUSE;
}

int sqlite3_reset(sqlite3_stmt* statement) {
    SQLITE(sqlite3_reset);
    return real ? real(statement) : SQLITE_OK;
}

int sqlite3_finalize(sqlite3_stmt* statement) {
    SQLITE(sqlite3_finalize);
    return real ? real(statement) : SQLITE_OK;
}

const unsigned char* sqlite3_column_text(sqlite3_stmt* statement, int column) {
    SQLITE(sqlite3_column_text);
    return real ? real(statement, column) : nullptr;
}

const void* sqlite3_column_blob(sqlite3_stmt* statement, int column) {
    SQLITE(sqlite3_column_blob);
    return real ? real(statement, column) : nullptr;
}

int sqlite3_column_bytes(sqlite3_stmt* statement, int column) {
    SQLITE(sqlite3_column_bytes);
    return real ? real(statement, column) : 0;
}

sqlite3_int64 sqlite3_column_int64(sqlite3_stmt* statement, int column) {
    SQLITE(sqlite3_column_int64);
    return real ? real(statement, column) : 0;
}
