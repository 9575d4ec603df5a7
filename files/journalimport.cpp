#include "files/journalimport.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QFile>

#include "files/fileerrors.h"
#include "files/journaldb.h"

namespace {

constexpr const char* kImportedSuffix = ".importiert";

// The whole old journal, read through one descriptor that was checked to be a regular file (a
// FIFO in its place must not block the job). 0, or the errno that says why not; ENOENT when
// there is none.
int ReadOldJournal(const QString& path, QByteArray* text) {
    const QByteArray name = QFile::encodeName(path);
    const int fd =
        ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return errno;
    struct stat st {};
    int result = ::fstat(fd, &st) != 0 ? errno : S_ISREG(st.st_mode) ? 0 : EISDIR;
    QFile file;
    if (result == 0 && file.open(fd, QIODevice::ReadOnly)) {
        *text = file.readAll();
        if (file.error() != QFileDevice::NoError) result = EIO;
    }
    ::close(fd);
    return result;
}

// Renames the imported file beside itself without replacing an earlier import.
int RenameImported(const QString& path) {
    const QByteArray from = QFile::encodeName(path);
    for (int n = 1; n < 100; ++n) {
        QString to = path + kImportedSuffix;
        if (n > 1) to += QStringLiteral(".%1").arg(n);
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, QFile::encodeName(to).constData(),
                        RENAME_NOREPLACE) == 0)
            return 0;
        if (errno != EEXIST) return errno == ENOENT ? 0 : errno;  // ENOENT: another took it
    }
    return EEXIST;
}

}  // namespace

QString OldJournalPath(const QString& localPath) {
    return localPath.left(localPath.lastIndexOf('/') + 1) + kOldJournalFileName;
}

bool ImportOldJournal(JournalDb& db, const QString& oldPath, bool pending, QString* cause) {
    QByteArray text;
    const int error = ReadOldJournal(oldPath, &text);
    if (error == ENOENT) return true;
    if (error != 0) {
        *cause = FileErrorCause(error);
        return false;
    }
    QList<QStringList> records = ParseCsv(QString::fromUtf8(text));
    // The header is the one record whose first field is no time.
    if (!records.isEmpty() &&
        !QDateTime::fromString(records.first().value(0), Qt::ISODate).isValid())
        records.removeFirst();
    db.Database().transaction();
    for (qsizetype i = 0; i < records.size(); ++i) {
        JournalRow row;
        row.fields = records[i];
        while (row.fields.size() < kJournalColumns) row.fields << QString();
        // The key comes from the line and its place, so that a second import finds it stored.
        row.lineId = QStringLiteral("csv-") +
                     QString::fromLatin1(
                         QCryptographicHash::hash(QByteArray::number(i) + CsvRecord(records[i]),
                                                  QCryptographicHash::Sha256)
                             .toHex());
        row.timeUtc = QDateTime::fromString(row.fields[ColTime], Qt::ISODate).toSecsSinceEpoch();
        if (!db.Insert(row, pending, cause)) {
            db.Database().rollback();
            return false;
        }
    }
    if (!db.Database().commit()) {
        *cause = DatabaseCause(db.Database().lastError());
        return false;
    }
    if (const int renameError = RenameImported(oldPath)) {
        *cause = FileErrorCause(renameError);
        return false;
    }
    return true;
}
