#include "record/journalimport.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QFile>
#include <QStringDecoder>

#include "files/fileerrors.h"
#include "record/journaldb.h"

namespace {

constexpr const char* kImportedSuffix = ".importiert";

// Lines stored in one write transaction: the lock is let go between batches, so that the jobs of
// other programs get their lines in while a large old journal is taken over.
constexpr int kBatchLines = 1000;
constexpr qint64 kReadBlock = 64 * 1024;
// No line of a journal comes near this; a longer one is damage, and reading on would take the
// memory of all that follows.
constexpr qsizetype kLongestLine = 64 * 1024;

// The old journal, opened through one descriptor that was checked to be a regular file (a FIFO
// in its place must not block the job). 0, or the errno that says why not; ENOENT when there is
// none.
int OpenOldJournal(const QString& path, QFile* file) {
    const QByteArray name = QFile::encodeName(path);
    const int fd =
        ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return errno;
    struct stat st {};
    const int result = ::fstat(fd, &st) != 0 ? errno : S_ISREG(st.st_mode) ? 0 : EISDIR;
    if (result == 0 && file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) return 0;
    ::close(fd);
    return result != 0 ? result : EIO;
}

// The row of the old journal's index-th line (counted after the header). The key comes from the
// line and its place, so that a second import finds it stored.
JournalRow RowOfOldLine(const QStringList& record, qint64 index) {
    JournalRow row;
    row.fields = record;
    while (row.fields.size() < kJournalColumns) row.fields << QString();
    row.lineId =
        QStringLiteral("csv-") +
        QString::fromLatin1(QCryptographicHash::hash(QByteArray::number(index) + CsvRecord(record),
                                                     QCryptographicHash::Sha256)
                                .toHex());
    row.timeUtc = QDateTime::fromString(row.fields[ColTime], Qt::ISODate).toSecsSinceEpoch();
    QString code;
    JournalOutcomeOfWord(row.fields[ColOutcome], &code, &row.messageId);
    row.fields[ColOutcome] = code;
    return row;
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

bool ImportOldJournal(JournalDb& db, const QString& oldPath, bool pending, QString* cause,
                      qint64* setAsideLine) {
    QFile file;
    const int error = OpenOldJournal(oldPath, &file);
    if (error == ENOENT) return true;
    if (error != 0) {
        *cause = FileErrorCause(error);
        return false;
    }
    // Read as a stream: a journal of any size takes the memory of one block and one line.
    bool ok = true;
    bool first = true;
    qint64 index = 0;
    int inBatch = 0;
    CsvReader reader([&](const QStringList& record) {
        if (!ok) return;
        // The header is the first record, when its first field is no time.
        const bool header = first && !QDateTime::fromString(record.value(0), Qt::ISODate).isValid();
        first = false;
        if (header) return;
        if (inBatch == 0 && !db.Begin(cause)) {
            ok = false;
            return;
        }
        if (!db.Insert(RowOfOldLine(record, index++), pending, cause)) {
            db.Rollback();
            ok = false;
            return;
        }
        if (++inBatch < kBatchLines) return;
        inBatch = 0;
        if (!db.Commit(cause)) {
            db.Rollback();
            ok = false;
        }
    });
    // The lines from a damaged one on stay in the renamed file, for a person to look at.
    reader.SetLimit(kLongestLine, [setAsideLine](qint64 line) {
        if (setAsideLine) *setAsideLine = line;
    });
    QStringDecoder decoder(QStringDecoder::Utf8);
    QByteArray block;
    while (ok && !reader.Stopped() && !(block = file.read(kReadBlock)).isEmpty()) {
        // NUL bytes are what a crash leaves at the end of a file, never a journal's text.
        block.replace('\0', QByteArray());
        reader.Feed(QString(decoder(block)));
    }
    if (ok && file.error() != QFileDevice::NoError) {
        *cause = FileErrorCause(EIO);
        ok = false;
    }
    if (ok) reader.Finish();
    if (ok && inBatch > 0 && !db.Commit(cause)) {
        db.Rollback();
        ok = false;
    }
    if (!ok) {
        if (inBatch > 0) db.Rollback();
        return false;
    }
    if (const int renameError = RenameImported(oldPath)) {
        *cause = FileErrorCause(renameError);
        return false;
    }
    return true;
}
