#include "files/secrets.h"

#include <QRegularExpression>

namespace {

const QString kMask = QStringLiteral("***");

// postgresql:// or postgres://, up to the next white space: a URI and nothing else.
const QRegularExpression kUri(QStringLiteral("postgres(?:ql)?://\\S*"),
                              QRegularExpression::CaseInsensitiveOption);
// A password parameter of a URI's query: its value ends at the next parameter.
const QRegularExpression kUriParameter(QStringLiteral("([?&](?:ssl)?password=)[^&#]*"),
                                       QRegularExpression::CaseInsensitiveOption);
// A password keyword outside a URI: a quoted value (with \' and \\ inside) or up to white space.
const QRegularExpression kKeyword(
    QStringLiteral("(?<![A-Za-z0-9_])((?:ssl)?password\\s*=\\s*)(?:'(?:[^'\\\\]|\\\\.)*'?|\\S*)"),
    QRegularExpression::CaseInsensitiveOption);

// The URI with the password of its user part and of its query masked. The user part ends at the
// last "@" before the host: a password may hold an unencoded "@" or "/", and none of it may show.
QString MaskedUri(QString uri) {
    const qsizetype start = uri.indexOf(QLatin1String("//")) + 2;
    const qsizetype at = uri.lastIndexOf('@');
    if (at > start) {
        const qsizetype colon = uri.indexOf(':', start);
        if (colon >= 0 && colon < at) uri.replace(colon + 1, at - colon - 1, kMask);
    }
    return uri.replace(kUriParameter, QStringLiteral("\\1") + kMask);
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
    return masked;
}

bool IsServerUri(const QString& text) {
    return text.startsWith(QLatin1String("postgresql://")) ||
           text.startsWith(QLatin1String("postgres://"));
}

QString MaskedServer(const QString& uri) {
    return MaskSecrets(uri);
}
