#include "files/secrets.h"

#include <QMutex>
#include <QRegularExpression>
#include <QStringList>
#include <QUrl>
#include <cstring>

namespace {

const QString kMask = QStringLiteral("***");

// postgresql:// or postgres://, up to the next white space: a URI and nothing else. A user part
// with a password runs on to its "@", also past spaces (a password may hold them), but never
// past the end of the line.
const QRegularExpression kUri(
    QStringLiteral("postgres(?:ql)?://(?:[^\\s@/?#:]*:[^\\n@]*@(?=[^\\s@]*(?:\\s|$)))?\\S*"),
    QRegularExpression::CaseInsensitiveOption);
// A password parameter of a URI's query: its value ends at the next parameter.
const QRegularExpression kUriParameter(QStringLiteral("([?&](?:ssl)?password=)[^&#]*"),
                                       QRegularExpression::CaseInsensitiveOption);
// A password keyword outside a URI: a quoted value (with \' and \\ inside) or up to white space.
const QRegularExpression kKeyword(
    QStringLiteral("(?<![A-Za-z0-9_])((?:ssl)?password\\s*=\\s*)(?:'(?:[^'\\\\]|\\\\.)*'?|\\S*)"),
    QRegularExpression::CaseInsensitiveOption);

// Shorter ones would mask ordinary words and numbers; the rules above still cover them.
constexpr int kShortestRemembered = 4;

QMutex rememberedMutex;
QStringList& Remembered() {
    static QStringList secrets;
    return secrets;
}

// The URI with the password of its user part and of its query masked. The user part ends at the
// last "@" before the host: a password may hold an unencoded "@" or "/", and none of it may show.
// Without "@" there is no host: what follows the colon is a password, unless it is a port.
QString MaskedUri(QString uri) {
    const qsizetype start = uri.indexOf(QLatin1String("//")) + 2;
    const qsizetype at = uri.lastIndexOf('@');
    if (at > start) {
        const qsizetype colon = uri.indexOf(':', start);
        if (colon >= 0 && colon < at) uri.replace(colon + 1, at - colon - 1, kMask);
    } else {
        // A host in brackets is an IPv6 address, whose colons are no password's.
        static const QRegularExpression kAuthority(QStringLiteral("^([^/?#:\\[]*:)([^/?#]*)"));
        const QRegularExpressionMatch authority = kAuthority.match(uri.mid(start));
        static const QRegularExpression kPorts(QStringLiteral("^[0-9,]*$"));
        if (authority.hasMatch() && !kPorts.match(authority.captured(2)).hasMatch())
            uri.replace(start + authority.capturedStart(2), authority.capturedLength(2), kMask);
    }
    return uri.replace(kUriParameter, QStringLiteral("\\1") + kMask);
}

// The passwords an address holds, as written and as libpq reads them (percent-decoded): those of
// a URI's user part and query, or the values of the keyword form.
QStringList SecretsOf(const QString& address) {
    QStringList written;
    const bool uri = address.startsWith(QLatin1String("postgres"), Qt::CaseInsensitive);
    if (uri) {
        // The user part: what the mask stands for in the masked URI.
        const QString path = address.section('?', 0, 0);
        const QString masked = MaskedUri(path);
        const qsizetype mask = masked.indexOf(kMask);
        if (mask >= 0) written << path.mid(mask, path.size() - masked.size() + kMask.size());
    }
    for (auto found = (uri ? kUriParameter : kKeyword).globalMatch(address); found.hasNext();) {
        const QRegularExpressionMatch match = found.next();
        QString value = match.captured().mid(match.capturedLength(1));
        if (value.startsWith('\'')) {
            value.remove(0, 1);
            if (value.endsWith('\'')) value.chop(1);
        }
        written << value;
    }
    QStringList secrets;
    for (const QString& secret : written)
        secrets << secret << QUrl::fromPercentEncoding(secret.toUtf8());
    return secrets;
}

}  // namespace

QString MaskSecrets(const QString& text) {
    QString masked;
    qsizetype done = 0;
    // Outside the URIs the keyword form; the URIs by their own rules.
    auto maskKeywords = [&masked](const QString& part) {
        masked += QString(part).replace(kKeyword, QStringLiteral("\\1") + kMask);
    };
    for (auto uris = kUri.globalMatch(text); uris.hasNext();) {
        const QRegularExpressionMatch uri = uris.next();
        maskKeywords(text.mid(done, uri.capturedStart() - done));
        masked += MaskedUri(uri.captured());
        done = uri.capturedEnd();
    }
    maskKeywords(text.mid(done));
    QMutexLocker lock(&rememberedMutex);
    for (const QString& secret : Remembered()) masked.replace(secret, kMask);
    return masked;
}

void RememberSecrets(const QString& address) {
    const QStringList secrets = SecretsOf(address);
    QMutexLocker lock(&rememberedMutex);
    for (const QString& secret : secrets) {
        if (secret.size() >= kShortestRemembered && !Remembered().contains(secret))
            Remembered() << secret;
    }
}

void HideSecretsInArguments(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const size_t length = std::strlen(argv[i]);
        const QString argument = QString::fromLocal8Bit(argv[i], qsizetype(length));
        const QByteArray masked = MaskSecrets(argument).toLocal8Bit();
        if (masked == QByteArrayView(argv[i], qsizetype(length))) continue;
        // A password shorter than its mask is covered over whole, in place.
        if (size_t(masked.size()) > length) {
            std::memset(argv[i], '*', length);
            continue;
        }
        std::memcpy(argv[i], masked.constData(), size_t(masked.size()));
        std::memset(argv[i] + masked.size(), 0, length - size_t(masked.size()));
    }
}

bool IsServerUri(const QString& text) {
    return text.startsWith(QLatin1String("postgresql://")) ||
           text.startsWith(QLatin1String("postgres://"));
}

QString MaskedServer(const QString& uri) {
    return MaskSecrets(uri);
}
