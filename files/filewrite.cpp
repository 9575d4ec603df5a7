#include "files/filewrite.h"

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>

#include "files/fileerrors.h"
#include "files/filenames.h"
#include "files/fileplace.h"

namespace {

std::function<bool(const QString&)>& WriteFault() {
    static std::function<bool(const QString&)> fault;
    return fault;
}

// Writes size bytes at offset, or at the file's own position for a negative offset; 0 or the
// errno value of the failed write. *done tells how many bytes went in before.
int WriteAllAt(int fd, const char* data, qint64 size, off_t offset, qint64* done = nullptr) {
    qint64 local = 0;
    qint64& written = done ? *done : local;
    for (written = 0; written < size;) {
        const size_t left = static_cast<size_t>(size - written);
        const ssize_t n = offset < 0 ? ::write(fd, data + written, left)
                                     : pwrite(fd, data + written, left, offset + written);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return EIO;
        written += n;
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

// size bytes of data from the file's start, or half of them and a full disk under the test
// fault; *done tells how many went in.
int WriteContents(int fd, const QString& path, const char* data, qint64 size, qint64* done) {
    if (WriteFault() && WriteFault()(path)) {
        WriteAllAt(fd, data, size / 2, 0, done);
        return ENOSPC;
    }
    return WriteAllAt(fd, data, size, 0, done);
}

// The signals that end the program when a terminal closes or somebody asks it to stop wait
// while a temporary file exists or a file is being written in place: a save is either done or
// not, and never leaves a temporary file behind.
class HeldSignals {
  public:
    HeldSignals() {
        sigset_t held;
        sigemptyset(&held);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&held, signal);
        pthread_sigmask(SIG_BLOCK, &held, &before_);
    }
    ~HeldSignals() { pthread_sigmask(SIG_SETMASK, &before_, nullptr); }

  private:
    sigset_t before_;
};

int CreateTemporary(const FilePlace& place, mode_t mode, QByteArray& tempName, int& fd) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempName = TemporaryName(place.name);
        fd = openat(place.folder, tempName.constData(),
                    O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
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

// Writes data to a new temporary file in the place's folder, flushed to the disk; 0 with its
// name, or the errno value (and no temporary file is left). *cannotKeep tells that the folder
// took no new file or the file not the owner, group and mode of takeFrom.
int WriteTemporary(const FilePlace& place, const QString& path, const QByteArray& data,
                   const struct stat* takeFrom, QByteArray& tempName, bool& cannotKeep) {
    int fd = -1;
    int error = CreateTemporary(place, takeFrom ? 0600 : 0666, tempName, fd);
    cannotKeep = error != 0;
    if (error) return error;
    if (takeFrom) {
        error = TakeOwnerAndMode(fd, *takeFrom);
        cannotKeep = error != 0;
    }
    qint64 done = 0;
    if (!error) error = WriteContents(fd, path, data.constData(), data.size(), &done);
    if (!error && fsync(fd) != 0) error = errno;
    if (close(fd) != 0 && !error) error = errno;
    if (error) unlinkat(place.folder, tempName.constData(), 0);
    return error;
}

// An access-control list would not pass to a new file; writing in place keeps it. The name is
// looked up in the folder held open (through /proc, as there is no getxattr relative to a
// folder).
bool HasAccessControlList(const FilePlace& place) {
    const QByteArray inFolder =
        "/proc/self/fd/" + QByteArray::number(place.folder) + "/" + place.name;
    return lgetxattr(inFolder.constData(), "system.posix_acl_access", nullptr, 0) > 0;
}

// Puts old, the file's whole former contents, back after a write in place failed having
// written written bytes (and cut the file to its new length when truncated). Only the bytes
// that changed are written, so that a size limit below the old length does not fail a put-back
// that has nothing to do there. 0, or the errno value of the step that failed.
int PutBack(int fd, const QString& path, const QByteArray& old, qint64 written, bool truncated) {
    if (written == 0 && !truncated) return 0;
    if (ftruncate(fd, old.size()) != 0) return errno;
    qint64 done = 0;
    const qint64 changed = truncated ? old.size() : qMin<qint64>(old.size(), written);
    if (const int error = WriteContents(fd, path, old.constData(), changed, &done)) return error;
    return fsync(fd) == 0 ? 0 : errno;
}

// Writes data into the existing regular file at the place. The file's old contents are read
// first and put back if the write fails, so that a full disk or a size limit leaves them; when
// even that fails, the answer carries kFileMayBeDamaged.
int WriteInPlace(const FilePlace& place, const QString& path, const QByteArray& data) {
    // No O_CREAT, and no link followed: a link swapped in since the check is refused.
    const int fd =
        openat(place.folder, place.name.constData(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno;
    struct stat st {};
    int error = fstat(fd, &st) != 0 ? errno : (S_ISREG(st.st_mode) ? 0 : EISDIR);
    QByteArray old(error ? 0 : static_cast<qsizetype>(st.st_size), '\0');
    if (!error) error = ReadAllAt(fd, old);
    if (!error) {
        qint64 written = 0;
        bool truncated = false;
        error = WriteContents(fd, path, data.constData(), data.size(), &written);
        if (!error) error = ftruncate(fd, data.size()) == 0 ? 0 : errno;
        truncated = !error;
        if (!error && fsync(fd) != 0) error = errno;
        if (error && PutBack(fd, path, old, written, truncated) != 0) error |= kFileMayBeDamaged;
    }
    if (close(fd) != 0 && !error) error = errno;
    return error;
}

void SyncFolder(const FilePlace& place) {
    const int fd = openat(place.folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

int WriteFileSafely(const QString& path, const QByteArray& data) {
    FilePlace place;
    if (const int error = ResolveFilePlace(path, place)) return error;
    const struct stat& st = place.st;
    if (place.exists) {
        if (!S_ISREG(st.st_mode)) return EISDIR;
        // A read-only file stays read-only: replacing it by a rename would get round that.
        if (faccessat(place.folder, place.name.constData(), W_OK,
                      AT_EACCESS | AT_SYMLINK_NOFOLLOW) != 0)
            return errno;
    }
    const HeldSignals held;
    if (place.exists && (st.st_nlink > 1 || HasAccessControlList(place)))
        return WriteInPlace(place, path, data);

    // A replaced file's contents stay private until the new file has its mode; a new file gets
    // the user's default permissions.
    QByteArray tempName;
    bool cannotKeep = false;
    int error =
        WriteTemporary(place, path, data, place.exists ? &st : nullptr, tempName, cannotKeep);
    bool inPlace = place.exists && cannotKeep;
    if (!error &&
        renameat(place.folder, tempName.constData(), place.folder, place.name.constData()) != 0) {
        error = errno;
        unlinkat(place.folder, tempName.constData(), 0);
        inPlace = place.exists;
    }
    if (error) return inPlace ? WriteInPlace(place, path, data) : error;
    SyncFolder(place);
    return 0;
}

int OpenPrivateAppend(const QString& path, int* error) {
    FilePlace place;
    *error = ResolveFilePlace(path, place);
    if (*error) return -1;
    const int fd =
        openat(place.folder, place.name.constData(),
               O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) {
        *error = errno;
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        *error = EISDIR;
        return -1;
    }
    return fd;
}

namespace {

// Gives the finished temporary file the new name without ever replacing anything, and removes
// the temporary name. onOwn writes the file under the name itself where the file system has
// neither RENAME_NOREPLACE nor hard links (FAT); without it, a plain rename is made when the
// name is free.
int PlaceNewFile(const FilePlace& place, const QByteArray& temp, const QByteArray& name,
                 const std::function<int()>& onOwn) {
    const HeldSignals held;
    if (renameat2(place.folder, temp.constData(), place.folder, name.constData(),
                  RENAME_NOREPLACE) == 0) {
        SyncFolder(place);
        return 0;
    }
    int error = errno;
    if (error == EINVAL || error == ENOSYS) {
        error = linkat(place.folder, temp.constData(), place.folder, name.constData(), 0) == 0
                    ? 0
                    : errno;
        if (error == EPERM || error == EOPNOTSUPP) {
            if (onOwn) {
                error = onOwn();
            } else {
                struct stat st {};
                error =
                    fstatat(place.folder, name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 ? EEXIST
                    : errno != ENOENT                                                      ? errno
                    : renameat(place.folder, temp.constData(), place.folder, name.constData()) == 0
                        ? 0
                        : errno;
                if (!error) {
                    SyncFolder(place);
                    return 0;
                }
            }
        }
    }
    unlinkat(place.folder, temp.constData(), 0);
    if (!error) SyncFolder(place);
    return error;
}

}  // namespace

int WriteNewFile(const FilePlace& place, const QByteArray& name, const QByteArray& data) {
    const QString path = FileNameFromBytes(name);
    const HeldSignals held;
    QByteArray tempName;
    bool cannotKeep = false;
    if (const int error = WriteTemporary(place, path, data, nullptr, tempName, cannotKeep))
        return error;
    return PlaceNewFile(place, tempName, name, [&] {
        const int fd = openat(place.folder, name.constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        int error = fd < 0 ? errno : WriteAllBytes(fd, data);
        if (fd >= 0 && !error && fsync(fd) != 0) error = errno;
        if (fd >= 0 && close(fd) != 0 && !error) error = errno;
        if (fd >= 0 && error) unlinkat(place.folder, name.constData(), 0);
        return error;
    });
}

int WriteNewFileFrom(const FilePlace& place, const QByteArray& name,
                     const std::function<int(int fd)>& produce) {
    QByteArray tempName;
    int fd = -1;
    if (const int error = CreateTemporary(place, 0666, tempName, fd)) return error;
    int error = produce(fd);
    if (!error && fsync(fd) != 0) error = errno;
    if (close(fd) != 0 && !error) error = errno;
    if (error) {
        unlinkat(place.folder, tempName.constData(), 0);
        return error;
    }
    return PlaceNewFile(place, tempName, name, nullptr);
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
