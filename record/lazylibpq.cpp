// libpq is opened when the first server function is called, not when the program starts: with
// the TLS, Kerberos and LDAP libraries it brings along, loading and relocating it at start cost
// about as much as building the whole main window, and most starts never reach a server.
// Should libpq be missing, a connection fails with a message that says so, as libpq fails one
// it cannot make.

#include <libpq-fe.h>

#include <cstdlib>
#include <cstring>

#include "files/lazylibrary.h"

namespace {

const LazyLibrary& Libpq() {
    static const LazyLibrary library("libpq.so.5");
    return library;
}

const char* Missing() {
    return Libpq().Missing();
}

}  // namespace

#define LIBPQ(name) static const auto real = Libpq().Resolve(&::name, #name)

PQconninfoOption* PQconninfoParse(const char* conninfo, char** errmsg) {
    LIBPQ(PQconninfoParse);
    if (real) return real(conninfo, errmsg);
    if (errmsg) *errmsg = strdup(Missing());
    return nullptr;
}

void PQconninfoFree(PQconninfoOption* options) {
    LIBPQ(PQconninfoFree);
    if (real) real(options);
}

void PQfreemem(void* memory) {
    LIBPQ(PQfreemem);
    // Without libpq the only memory handed out is the error text from strdup.
    if (real)
        real(memory);
    else
        free(memory);
}

PGconn* PQconnectStartParams(const char* const* keywords, const char* const* values,
                             int expand_dbname) {
    LIBPQ(PQconnectStartParams);
    return real ? real(keywords, values, expand_dbname) : nullptr;
}

PostgresPollingStatusType PQconnectPoll(PGconn* conn) {
    LIBPQ(PQconnectPoll);
    return real ? real(conn) : PGRES_POLLING_FAILED;
}

ConnStatusType PQstatus(const PGconn* conn) {
    LIBPQ(PQstatus);
    return real ? real(conn) : CONNECTION_BAD;
}

char* PQerrorMessage(const PGconn* conn) {
    LIBPQ(PQerrorMessage);
    return real ? real(conn) : const_cast<char*>(Missing());
}

void PQfinish(PGconn* conn) {
    LIBPQ(PQfinish);
    if (real) real(conn);
}

PQnoticeProcessor PQsetNoticeProcessor(PGconn* conn, PQnoticeProcessor proc, void* arg) {
    LIBPQ(PQsetNoticeProcessor);
    return real ? real(conn, proc, arg) : nullptr;
}

int PQsetnonblocking(PGconn* conn, int arg) {
    LIBPQ(PQsetnonblocking);
    return real ? real(conn, arg) : -1;
}

int PQsocket(const PGconn* conn) {
    LIBPQ(PQsocket);
    return real ? real(conn) : -1;
}

int PQsendQuery(PGconn* conn, const char* query) {
    LIBPQ(PQsendQuery);
    return real ? real(conn, query) : 0;
}

int PQsendQueryParams(PGconn* conn, const char* command, int nParams, const Oid* paramTypes,
                      const char* const* paramValues, const int* paramLengths,
                      const int* paramFormats, int resultFormat) {
    LIBPQ(PQsendQueryParams);
    return real ? real(conn, command, nParams, paramTypes, paramValues, paramLengths, paramFormats,
                       resultFormat)
                : 0;
}

int PQsetSingleRowMode(PGconn* conn) {
    LIBPQ(PQsetSingleRowMode);
    return real ? real(conn) : 0;
}

int PQflush(PGconn* conn) {
    LIBPQ(PQflush);
    return real ? real(conn) : -1;
}

int PQconsumeInput(PGconn* conn) {
    LIBPQ(PQconsumeInput);
    return real ? real(conn) : 0;
}

int PQisBusy(PGconn* conn) {
    LIBPQ(PQisBusy);
    return real ? real(conn) : 0;
}

PGresult* PQgetResult(PGconn* conn) {
    LIBPQ(PQgetResult);
    return real ? real(conn) : nullptr;
}

ExecStatusType PQresultStatus(const PGresult* res) {
    LIBPQ(PQresultStatus);
    return real ? real(res) : PGRES_FATAL_ERROR;
}

char* PQresultErrorMessage(const PGresult* res) {
    LIBPQ(PQresultErrorMessage);
    return real ? real(res) : const_cast<char*>(Missing());
}

char* PQresultErrorField(const PGresult* res, int fieldcode) {
    LIBPQ(PQresultErrorField);
    return real ? real(res, fieldcode) : nullptr;
}

int PQntuples(const PGresult* res) {
    LIBPQ(PQntuples);
    return real ? real(res) : 0;
}

char* PQcmdTuples(PGresult* res) {
    LIBPQ(PQcmdTuples);
    return real ? real(res) : const_cast<char*>("");
}

char* PQgetvalue(const PGresult* res, int tup_num, int field_num) {
    LIBPQ(PQgetvalue);
    return real ? real(res, tup_num, field_num) : const_cast<char*>("");
}

int PQgetlength(const PGresult* res, int tup_num, int field_num) {
    LIBPQ(PQgetlength);
    return real ? real(res, tup_num, field_num) : 0;
}

int PQgetisnull(const PGresult* res, int tup_num, int field_num) {
    LIBPQ(PQgetisnull);
    return real ? real(res, tup_num, field_num) : 1;
}

unsigned char* PQunescapeBytea(const unsigned char* strtext, size_t* retbuflen) {
    LIBPQ(PQunescapeBytea);
    return real ? real(strtext, retbuflen) : nullptr;
}

void PQclear(PGresult* res) {
    LIBPQ(PQclear);
    if (real) real(res);
}
