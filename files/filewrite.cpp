#include "files/filewrite.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <climits>

namespace {

constexpr int kMaxLinkHops = 40;  // as many as the kernel itself follows
constexpr int kMaxNameBytes = 255;

std::function<bool(const QString&)>& WriteFault() {
    static std::function<bool(const QString&)> fault;
    return fault;
}

QByteArray FolderOf(const QByteArray& path) {
    const int slash = path.lastIndexOf('/');
    if (slash < 0) return ".";
    if (slash == 0) return "/";
    return path.left(slash);
}

QByteArray NameOf(const QByteArray& path) {
    return path.mid(path.lastIndexOf('/') + 1);
}

// Writes size bytes at offset, or at the file's own position for a negative offset; 0 or the
// errno value of the failed write.
int WriteAllAt(int fd, const char* data, qint64 size, off_t offset) {
    for (qint64 done = 0; done < size;) {
        const size_t left = static_cast<size_t>(size - done);
        const ssize_t n = offset < 0 ? ::write(fd, data + done, left)
                                     : pwrite(fd, data + done, left, offset + done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return EIO;
        done += n;
    }
    return 0;
}

// Reads buffer.size() bytes from offset 0; 0 or the errno value (EIO for a file that shrank).
int ReadAllAt(int fd, QByteArray& buffer) {
    for (qint64 done = 0; done < buffer.size();) {
        const ssize_t n =
            pread(fd, buffer.data() + done, static_cast<size_t>(buffer.size() - done), done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return EIO;
        done += n;
    }
    return 0;
}

// The file's new contents from its start, or half of them and a full disk under the test fault.
int WriteContents(int fd, const QString& path, const QByteArray& data) {
    if (WriteFault() && WriteFault()(path)) {
        WriteAllAt(fd, data.constData(), data.size() / 2, 0);
        return ENOSPC;
    }
    return WriteAllAt(fd, data.constData(), data.size(), 0);
}

// Follows the symbolic links at path as an open would, but only links that belong to the user
// or to root. The path is then the file that would be written, which need not exist yet.
int ResolveTrustedLinks(QByteArray& path) {
    for (int hop = 0;; ++hop) {
        struct stat st {};
        if (lstat(path.constData(), &st) != 0) return errno == ENOENT ? 0 : errno;
        if (!S_ISLNK(st.st_mode)) return 0;
        if (hop == kMaxLinkHops || (st.st_uid != geteuid() && st.st_uid != 0)) return ELOOP;
        char link[PATH_MAX];
        const ssize_t n = readlink(path.constData(), link, sizeof link);
        if (n < 0) return errno;
        if (n == static_cast<ssize_t>(sizeof link)) return ENAMETOOLONG;
        const QByteArray to(link, static_cast<int>(n));
        path = to.startsWith('/') ? to : FolderOf(path) + "/" + to;
    }
}

// ".<name>.<6 hex digits>.tmp" beside target. A long name is cut (at a character boundary) so
// that the temporary name stays within the 255 bytes a file name may have.
QByteArray TemporaryPath(const QByteArray& target) {
    const QByteArray suffix =
        "." +
        QByteArray::number(QRandomGenerator::global()->generate() & 0xFFFFFF, 16)
            .rightJustified(6, '0') +
        ".tmp";
    QByteArray name = NameOf(target);
    const int room = kMaxNameBytes - 1 - static_cast<int>(suffix.size());
    if (name.size() > room) {
        int cut = room;
        while (cut > 0 && (static_cast<uchar>(name[cut]) & 0xC0) == 0x80) --cut;
        name.truncate(cut);
    }
    return FolderOf(target) + "/." + name + suffix;
}

int CreateTemporaryBeside(const QByteArray& target, mode_t mode, QByteArray& tempPath, int& fd) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = TemporaryPath(target);
        fd = open(tempPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) return 0;
        if (errno != EEXIST) return errno;
    }
    return EEXIST;
}

// Gives the new file the owner, group and mode of the one it replaces. Fails unless the user is
// root or the file's owner and in its group: only then can a rename keep them.
int TakeOwnerAndMode(int fd, const struct stat& target) {
    struct stat own {};
    if (fstat(fd, &own) != 0) return errno;
    if ((own.st_uid != target.st_uid || own.st_gid != target.st_gid) &&
        fchown(fd, target.st_uid, target.st_gid) != 0)
        return errno;
    // After the owner: a change of owner clears the set-user and set-group bits.
    return fchmod(fd, target.st_mode & 07777) == 0 ? 0 : errno;
}

// An access-control list would not pass to a new file; writing in place keeps it.
bool HasAccessControlList(const QByteArray& path) {
    return getxattr(path.constData(), "system.posix_acl_access", nullptr, 0) > 0;
}

// Writes data into the existing regular file target. The bytes it overwrites are read first and
// put back if the write fails, so a full disk or a size limit leaves the old contents.
int WriteInPlace(const QByteArray& target, const QString& path, const QByteArray& data) {
    // No O_CREAT, and no link followed: a link swapped in since the check is refused.
    const int fd = open(target.constData(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno;
    struct stat st {};
    int error = fstat(fd, &st) != 0 ? errno : (S_ISREG(st.st_mode) ? 0 : EISDIR);
    QByteArray old(static_cast<int>(qMin<qint64>(st.st_size, data.size())), '\0');
    if (!error) error = ReadAllAt(fd, old);
    if (!error) {
        error = WriteContents(fd, path, data);
        if (!error && ftruncate(fd, data.size()) != 0) error = errno;
        if (!error && fsync(fd) != 0) error = errno;
        if (error) {
            WriteAllAt(fd, old.constData(), old.size(), 0);
            if (ftruncate(fd, st.st_size) == 0) fsync(fd);
        }
    }
    if (close(fd) != 0 && !error) error = errno;
    return error;
}

void SyncFolder(const QByteArray& folder) {
    const int fd = open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

int WriteFileSafely(const QString& path, const QByteArray& data) {
    QByteArray target = QFile::encodeName(path);
    if (target.isEmpty()) return ENOENT;
    if (target.endsWith('/')) return EISDIR;
    if (const int error = ResolveTrustedLinks(target)) return error;

    struct stat st {};
    const bool exists = stat(target.constData(), &st) == 0;
    if (!exists && errno != ENOENT) return errno;
    if (exists) {
        if (!S_ISREG(st.st_mode)) return EISDIR;
        // A read-only file stays read-only: replacing it by a rename would get round that.
        if (faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0) return errno;
        if (st.st_nlink > 1 || HasAccessControlList(target))
            return WriteInPlace(target, path, data);
    }

    // A replaced file's contents stay private until the new file has its mode; a new file gets
    // the user's default permissions.
    QByteArray tempPath;
    int fd = -1;
    int error = CreateTemporaryBeside(target, exists ? 0600 : 0666, tempPath, fd);
    if (error) return exists ? WriteInPlace(target, path, data) : error;
    if (exists) error = TakeOwnerAndMode(fd, st);
    bool inPlace = error != 0;
    if (!error) error = WriteContents(fd, path, data);
    if (!error && fsync(fd) != 0) error = errno;
    if (close(fd) != 0 && !error) error = errno;
    if (!error && rename(tempPath.constData(), target.constData()) != 0) {
        error = errno;
        inPlace = exists;
    }
    if (error) {
        unlink(tempPath.constData());
        return inPlace ? WriteInPlace(target, path, data) : error;
    }
    SyncFolder(FolderOf(target));
    return 0;
}

int OpenPrivateAppend(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const int fd =
        ::open(name.constData(),
               O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EISDIR;
        return -1;
    }
    return fd;
}

int WriteAllBytes(int fd, const QByteArray& data) {
    return WriteAllAt(fd, data.constData(), data.size(), -1);
}

void IgnoreFileSizeSignal() {
    signal(SIGXFSZ, SIG_IGN);
}

void SetWriteFaultForTests(std::function<bool(const QString& path)> fault) {
    WriteFault() = std::move(fault);
}
