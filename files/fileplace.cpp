#include "files/fileplace.h"

#include <fcntl.h>
#include <unistd.h>

#include <QList>
#include <QRandomGenerator>
#include <cerrno>
#include <climits>

#include "files/fileerrors.h"
#include "files/filenames.h"

namespace {

constexpr int kMaxLinkHops = 40;  // as many as the kernel itself follows
constexpr int kMaxNameBytes = 255;

int OpenRoot(bool absolute) {
    return open(absolute ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC);
}

// A link the user may follow: the user's own, or one that only root could have placed.
bool TrustedLink(const struct stat& st) {
    return st.st_uid == geteuid() || st.st_uid == 0;
}

// The target of the link opened (O_PATH | O_NOFOLLOW) as fd.
int ReadLink(int fd, QByteArray& to) {
    char buffer[PATH_MAX];
    const ssize_t n = readlinkat(fd, "", buffer, sizeof buffer);
    if (n < 0) return errno;
    if (n == static_cast<ssize_t>(sizeof buffer)) return ENAMETOOLONG;
    to = QByteArray(buffer, static_cast<int>(n));
    return 0;
}

void Replace(int& fd, int with) {
    if (fd >= 0) close(fd);
    fd = with;
}

}  // namespace

FilePlace::~FilePlace() {
    if (folder >= 0) close(folder);
}

int ResolveFilePlace(const QString& path, FilePlace& place) {
    const QByteArray native = FileNameBytes(path);
    if (native.isEmpty()) return ENOENT;
    // The parts still to walk; a path ending in "/" ends in an empty part and names a folder.
    QList<QByteArray> parts = native.split('/');
    int folder = OpenRoot(native.startsWith('/'));
    if (folder < 0) return errno;
    for (int hops = 0;;) {
        const QByteArray part = parts.takeFirst();
        const bool last = parts.isEmpty();
        if (!last && (part.isEmpty() || part == ".")) continue;
        if (last && (part.isEmpty() || part == "." || part == "..")) {
            close(folder);
            return EISDIR;
        }
        // O_PATH | O_NOFOLLOW opens a link itself, so that its owner and target belong together.
        const int next = openat(folder, part.constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
        struct stat st {};
        int error = next < 0 ? errno : (fstat(next, &st) != 0 ? errno : 0);
        if (last && error == ENOENT) {
            Replace(place.folder, folder);
            place.name = part;
            place.exists = false;
            return 0;
        }
        if (!error && S_ISLNK(st.st_mode)) {
            QByteArray to;
            if (!TrustedLink(st))
                error = last ? ELOOP : kForeignFolderLink;
            else if (++hops > kMaxLinkHops)
                error = ELOOP;
            else
                error = ReadLink(next, to);
            if (!error) {
                close(next);
                QList<QByteArray> toParts = to.split('/');
                if (to.startsWith('/')) {
                    Replace(folder, OpenRoot(true));
                    if (folder < 0) return errno;
                }
                parts = toParts + parts;
                continue;
            }
        } else if (!error && last) {
            close(next);
            Replace(place.folder, folder);
            place.name = part;
            place.exists = true;
            place.st = st;
            return 0;
        } else if (!error && !S_ISDIR(st.st_mode)) {
            error = ENOTDIR;
        }
        if (error) {
            if (next >= 0) close(next);
            close(folder);
            return error;
        }
        Replace(folder, next);
    }
}

QByteArray TemporaryName(const QByteArray& name) {
    const QByteArray suffix =
        "." +
        QByteArray::number(QRandomGenerator::global()->generate() & 0xFFFFFF, 16)
            .rightJustified(6, '0') +
        ".tmp";
    QByteArray kept = name;
    const int room = kMaxNameBytes - 1 - static_cast<int>(suffix.size());
    if (kept.size() > room) {
        int cut = room;
        while (cut > 0 && (static_cast<uchar>(kept[cut]) & 0xC0) == 0x80) --cut;
        kept.truncate(cut);
    }
    return "." + kept + suffix;
}
