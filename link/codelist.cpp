#include "link/codelist.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <cerrno>

#include "files/fileerrors.h"
#include "files/filenames.h"
#include "files/imagefile.h"
#include "resources/catalogue.h"
#include "resources/msg.h"

namespace {

// A list longer than every code there is cannot be meant.
constexpr qint64 kMaxListBytes = 1 << 20;

bool IsCode(const QString& text) {
    static const QRegularExpression code(QStringLiteral("^[0-9A-Fa-f]{4}$"));
    return code.match(text).hasMatch();
}

bool Forbidden(const QString& code) {
    return code == QLatin1String("0000") || code == QLatin1String("FFFF");
}

}  // namespace

bool ParseCodeList(const QString& text, QStringList* result, QString* error, CodeRooms* rooms) {
    result->clear();
    QStringList list;
    CodeRooms roomOf;
    QHash<QString, int> lineOf;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        const QString number = QString::number(i + 1);
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        // "2000;Zimmer 101" or "2000<tab>Zimmer 101": the room follows the code.
        static const QRegularExpression kRoomMark(QStringLiteral("[;\t]"));
        const qsizetype split = line.indexOf(kRoomMark);
        const QString room = split < 0 ? QString() : line.mid(split + 1).simplified();
        const QString given = split < 0 ? line : line.left(split).trimmed();
        if (!IsCode(given)) {
            *error = FillText(Msg::CodeListBadLine, {number, line});
            return false;
        }
        const QString code = given.toUpper();
        if (Forbidden(code)) {
            *error = FillText(Msg::CodeListForbidden, {number, code});
            return false;
        }
        if (lineOf.contains(code)) {
            *error = FillText(Msg::CodeListTwice, {code, QString::number(lineOf[code]), number});
            return false;
        }
        lineOf.insert(code, i + 1);
        list << code;
        if (!room.isEmpty()) roomOf.insert(code, room);
    }
    if (list.isEmpty()) {
        *error = Text(Msg::CodeListEmpty);
        return false;
    }
    *result = list;
    if (rooms) *rooms = roomOf;
    return true;
}

bool ParseCodeRange(const QString& range, QStringList* result, QString* error) {
    result->clear();
    QStringList list;
    const QStringList ends = range.split(QLatin1Char('-'));
    bool okFirst = false, okLast = false;
    const int first = ends.size() == 2 && IsCode(ends[0]) ? ends[0].toInt(&okFirst, 16) : 0;
    const int last = ends.size() == 2 && IsCode(ends[1]) ? ends[1].toInt(&okLast, 16) : 0;
    if (!okFirst || !okLast || first > last) {
        *error = FillText(Msg::CodeListBadRange, {range});
        return false;
    }
    for (int value = first; value <= last; ++value) {
        const QString code = QString::asprintf("%04X", value);
        if (Forbidden(code)) {
            *error = FillText(Msg::CodeListForbidden, {range, code});
            return false;
        }
        list << code;
    }
    *result = list;
    return true;
}

bool LoadCodeList(const QString& source, QStringList* codes, QString* error, CodeRooms* rooms) {
    if (rooms) rooms->clear();
    static const QRegularExpression range(QStringLiteral("^[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}$"));
    if (range.match(source).hasMatch() && !PathExists(source))
        return ParseCodeRange(source, codes, error);
    // The name's own bytes, also where they are no UTF-8.
    const QByteArray name = FileNameBytes(source);
    struct stat st {};
    int failure = stat(name.constData(), &st) != 0 ? errno : NotAFileError(source);
    if (failure == 0 && st.st_size > kMaxListBytes) {
        *error = FillText(Msg::CodeListTooLarge, {source, QString::number(st.st_size)});
        return false;
    }
    QFile file;
    if (failure == 0) {
        const int fd = open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFile::AutoCloseHandle)) {
            failure = fd < 0 ? errno : EACCES;
            if (fd >= 0) close(fd);
        }
    }
    if (failure != 0) {
        *error = FillText(Msg::CodeListUnreadable, {source, FileErrorCause(failure)});
        return false;
    }
    return ParseCodeList(QString::fromUtf8(file.read(kMaxListBytes)), codes, error, rooms);
}
