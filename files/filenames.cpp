#include "files/filenames.h"

#include <QDir>

#include "files/imagefile.h"

QString WithoutTrailingDelimiter(const QString& path) {
    // The root folder has no shorter name: "/" stays, where removing the delimiter would leave
    // an empty text that names no folder at all.
    if (path == "/") return path;
    return path.endsWith('/') ? path.left(path.size() - 1) : path;
}

QString FileNamePart(const QString& path) {
    return path.mid(path.lastIndexOf('/') + 1);
}

QString FolderPart(const QString& path) {
    const int slash = path.lastIndexOf('/');
    if (slash < 0) return QString();
    return slash == 0 ? QString("/") : path.left(slash);
}

QString ExtensionOf(const QString& path) {
    const QString name = FileNamePart(path);
    const int dot = name.lastIndexOf('.');
    return dot < 0 ? QString() : name.mid(dot);
}

QString ReplaceExtension(const QString& path, const QString& newExtension) {
    const QString extension = ExtensionOf(path);
    return path.left(path.size() - extension.size()) + newExtension;
}

QString FindPathIgnoringCase(const QString& path) {
    if (PathExists(path)) return path;
    const int slash = path.lastIndexOf('/');
    const QString folder = slash < 0 ? QString() : path.left(slash + 1);
    const QString name = path.mid(slash + 1);
    if (name.isEmpty()) return path;
    const QStringList entries =
        QDir(folder.isEmpty() ? QString(".") : folder)
            .entryList(QDir::Files | QDir::System | QDir::Hidden, QDir::Name);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return folder + entry;
    return path;
}

namespace {

constexpr char16_t kFirstKeptByte = 0xDC80;  // stands for the byte 0x80
constexpr char16_t kLastKeptByte = 0xDCFF;   // and this one for 0xFF

// The length of the valid UTF-8 sequence at bytes[i], or 0 when none starts there.
int Utf8SequenceLength(const QByteArray& bytes, int i) {
    const auto byte = [&bytes](int k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) return 1;
    int length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;  // nothing past U+10FFFF
    } else {
        return 0;
    }
    if (i + length > bytes.size()) return 0;
    if (byte(i + 1) < low || byte(i + 1) > high) return 0;
    for (int k = 2; k < length; ++k)
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
    return length;
}

}  // namespace

QString FileNameFromBytes(const QByteArray& bytes) {
    QString name;
    for (int i = 0; i < bytes.size();) {
        const int length = Utf8SequenceLength(bytes, i);
        if (length == 0) {
            name += QChar(char16_t(kFirstKeptByte + static_cast<unsigned char>(bytes[i]) - 0x80));
            ++i;
            continue;
        }
        name += QString::fromUtf8(bytes.constData() + i, length);
        i += length;
    }
    return name;
}

QByteArray FileNameBytes(const QString& name) {
    QByteArray bytes;
    for (int i = 0; i < name.size();) {
        // A run without kept bytes goes through the ordinary conversion.
        int end = i;
        while (end < name.size()) {
            const char16_t c = name[end].unicode();
            // A pair of surrogates is a character beyond U+FFFF, never a kept byte.
            if (QChar::isHighSurrogate(c) && end + 1 < name.size() &&
                QChar::isLowSurrogate(name[end + 1].unicode())) {
                end += 2;
                continue;
            }
            if (c >= kFirstKeptByte && c <= kLastKeptByte) break;
            ++end;
        }
        bytes += name.mid(i, end - i).toUtf8();
        if (end < name.size()) bytes += char(name[end].unicode() - kFirstKeptByte + 0x80);
        i = end + 1;
    }
    return bytes;
}

QStringList CommandLineArguments(int argc, const char* const* argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << FileNameFromBytes(QByteArray(argv[i]));
    return arguments;
}

QString LocalFileOfUrl(const QUrl& url) {
    // "localhost" names this computer as well as an empty host does.
    const QString host = url.host();
    if (!host.isEmpty() && host != QLatin1String("localhost")) return url.toLocalFile();
    return FileNameFromBytes(
        QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
}
