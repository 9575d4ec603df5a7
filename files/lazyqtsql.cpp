// Qt SQL is opened when the record is first used, not when the program starts: most starts
// write no journal line before the window shows, and loading and relocating the library cost a
// start as much as a good part of the window's controls. The program does not link it; each
// stand-in below has the name of the Qt SQL function the journal calls and calls it in the
// library. A function the journal starts to use needs a stand-in here, or the link fails.
//
// Qt SQL is a dependency of the package, as Qt Core is: without it the program ends with a
// message at the first use of the record, as it would otherwise end at start.

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <cstdio>
#include <cstdlib>

#include "files/lazylibrary.h"

namespace {

const LazyLibrary& QtSql() {
    static const LazyLibrary library("libQt6Sql.so.6");
    return library;
}

// The library's function of that (mangled) name, as F: members take the object first, as the
// platform's C++ calls do.
template <typename F>
F Real(const char* symbol) {
    const F real = QtSql().Resolve(F{}, symbol);
    if (real) return real;
    std::fprintf(stderr, "Das Protokoll braucht Qt SQL: %s (%s)\n", QtSql().Missing(), symbol);
    std::abort();
}

}  // namespace

#define REAL(type, symbol) static const auto real = Real<type>(symbol)

QSqlDatabase::QSqlDatabase() {
    REAL(void (*)(QSqlDatabase*), "_ZN12QSqlDatabaseC1Ev");
    real(this);
}

QSqlDatabase::QSqlDatabase(const QSqlDatabase& other) {
    REAL(void (*)(QSqlDatabase*, const QSqlDatabase&), "_ZN12QSqlDatabaseC1ERKS_");
    real(this, other);
}

QSqlDatabase::~QSqlDatabase() {
    REAL(void (*)(QSqlDatabase*), "_ZN12QSqlDatabaseD1Ev");
    real(this);
}

QSqlDatabase& QSqlDatabase::operator=(const QSqlDatabase& other) {
    REAL(QSqlDatabase & (*)(QSqlDatabase*, const QSqlDatabase&), "_ZN12QSqlDatabaseaSERKS_");
    return real(this, other);
}

QSqlDatabase QSqlDatabase::addDatabase(const QString& type, const QString& connectionName) {
    REAL(QSqlDatabase(*)(const QString&, const QString&),
         "_ZN12QSqlDatabase11addDatabaseERK7QStringS2_");
    return real(type, connectionName);
}

void QSqlDatabase::removeDatabase(const QString& connectionName) {
    REAL(void (*)(const QString&), "_ZN12QSqlDatabase14removeDatabaseERK7QString");
    real(connectionName);
}

void QSqlDatabase::setDatabaseName(const QString& name) {
    REAL(void (*)(QSqlDatabase*, const QString&), "_ZN12QSqlDatabase15setDatabaseNameERK7QString");
    real(this, name);
}

void QSqlDatabase::setConnectOptions(const QString& options) {
    REAL(void (*)(QSqlDatabase*, const QString&),
         "_ZN12QSqlDatabase17setConnectOptionsERK7QString");
    real(this, options);
}

bool QSqlDatabase::open() {
    REAL(bool (*)(QSqlDatabase*), "_ZN12QSqlDatabase4openEv");
    return real(this);
}

void QSqlDatabase::close() {
    REAL(void (*)(QSqlDatabase*), "_ZN12QSqlDatabase5closeEv");
    real(this);
}

QSqlError QSqlDatabase::lastError() const {
    REAL(QSqlError(*)(const QSqlDatabase*), "_ZNK12QSqlDatabase9lastErrorEv");
    return real(this);
}

QSqlError::QSqlError(const QString& driverText, const QString& databaseText, ErrorType type,
                     const QString& errorCode) {
    REAL(void (*)(QSqlError*, const QString&, const QString&, ErrorType, const QString&),
         "_ZN9QSqlErrorC1ERK7QStringS2_NS_9ErrorTypeES2_");
    real(this, driverText, databaseText, type, errorCode);
}

QSqlError::~QSqlError() {
    REAL(void (*)(QSqlError*), "_ZN9QSqlErrorD1Ev");
    real(this);
}

QString QSqlError::nativeErrorCode() const {
    REAL(QString(*)(const QSqlError*), "_ZNK9QSqlError15nativeErrorCodeEv");
    return real(this);
}

QString QSqlError::text() const {
    REAL(QString(*)(const QSqlError*), "_ZNK9QSqlError4textEv");
    return real(this);
}

QSqlQuery::QSqlQuery(const QSqlDatabase& db) {
    REAL(void (*)(QSqlQuery*, const QSqlDatabase&), "_ZN9QSqlQueryC1ERK12QSqlDatabase");
    real(this, db);
}

QSqlQuery::QSqlQuery(const QString& query, const QSqlDatabase& db) {
    REAL(void (*)(QSqlQuery*, const QString&, const QSqlDatabase&),
         "_ZN9QSqlQueryC1ERK7QStringRK12QSqlDatabase");
    real(this, query, db);
}

QSqlQuery::~QSqlQuery() {
    REAL(void (*)(QSqlQuery*), "_ZN9QSqlQueryD1Ev");
    real(this);
}

bool QSqlQuery::prepare(const QString& query) {
    REAL(bool (*)(QSqlQuery*, const QString&), "_ZN9QSqlQuery7prepareERK7QString");
    return real(this, query);
}

bool QSqlQuery::exec(const QString& query) {
    REAL(bool (*)(QSqlQuery*, const QString&), "_ZN9QSqlQuery4execERK7QString");
    return real(this, query);
}

bool QSqlQuery::exec() {
    REAL(bool (*)(QSqlQuery*), "_ZN9QSqlQuery4execEv");
    return real(this);
}

bool QSqlQuery::next() {
    REAL(bool (*)(QSqlQuery*), "_ZN9QSqlQuery4nextEv");
    return real(this);
}

void QSqlQuery::finish() {
    REAL(void (*)(QSqlQuery*), "_ZN9QSqlQuery6finishEv");
    real(this);
}

void QSqlQuery::setForwardOnly(bool forward) {
    REAL(void (*)(QSqlQuery*, bool), "_ZN9QSqlQuery14setForwardOnlyEb");
    real(this, forward);
}

void QSqlQuery::bindValue(int pos, const QVariant& value, QSql::ParamType type) {
    REAL(void (*)(QSqlQuery*, int, const QVariant&, QSql::ParamType),
         "_ZN9QSqlQuery9bindValueEiRK8QVariant6QFlagsIN4QSql13ParamTypeFlagEE");
    real(this, pos, value, type);
}

void QSqlQuery::addBindValue(const QVariant& value, QSql::ParamType type) {
    REAL(void (*)(QSqlQuery*, const QVariant&, QSql::ParamType),
         "_ZN9QSqlQuery12addBindValueERK8QVariant6QFlagsIN4QSql13ParamTypeFlagEE");
    real(this, value, type);
}

QVariant QSqlQuery::value(int index) const {
    REAL(QVariant(*)(const QSqlQuery*, int), "_ZNK9QSqlQuery5valueEi");
    return real(this, index);
}

QSqlError QSqlQuery::lastError() const {
    REAL(QSqlError(*)(const QSqlQuery*), "_ZNK9QSqlQuery9lastErrorEv");
    return real(this);
}
