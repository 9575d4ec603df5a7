#pragma once
// Small rules on path texts shared by the file commands, the default folder and start-up. The
// path delimiter is "/".

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

// File names are bytes on Linux, and not every name is UTF-8 ("B\xFCro.Korbi" from an old
// Latin-1 system). As text, each byte that is not part of valid UTF-8 is kept as a code point of
// its own (U+DC80 to U+DCFF, which valid UTF-8 never yields), so that the name reaches the open
// call with the very bytes it came with; shown to the user, such a byte appears as "�".
QString FileNameFromBytes(const QByteArray& bytes);
// The bytes of a file name made by FileNameFromBytes (or of any text) for the system's calls.
QByteArray FileNameBytes(const QString& name);
// The command line as texts, file names kept as above.
QStringList CommandLineArguments(int argc, const char* const* argv);
// The local file a file:// URL names, kept as above: a drop carries the name's bytes
// percent-encoded, which QUrl::toLocalFile would turn into "�". A URL with a host other than
// localhost gives QUrl::toLocalFile's "//host/path".
QString LocalFileOfUrl(const QUrl& url);

// The text with exactly one trailing "/" removed, if there is one; the root folder "/" stays.
QString WithoutTrailingDelimiter(const QString& path);
// The file-name part: everything after the last "/".
QString FileNamePart(const QString& path);
// The folder part without trailing delimiter: everything before the last "/" ("/" for a file in
// the root folder, empty when the path has no "/").
QString FolderPart(const QString& path);
// The extension from the last "." of the file-name part on, dot included; empty when there is
// none.
QString ExtensionOf(const QString& path);
// The path with its extension replaced by newExtension, or newExtension appended when it has
// none.
QString ReplaceExtension(const QString& path, const QString& newExtension);
// The path with its file-name part matched without regard to letter case: the path itself when
// something of that name exists, else the first file (not a folder) beside it whose name differs
// only in case, else the path unchanged.
QString FindPathIgnoringCase(const QString& path);
