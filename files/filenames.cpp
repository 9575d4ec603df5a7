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
