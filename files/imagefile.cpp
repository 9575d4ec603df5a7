#include "files/imagefile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

std::function<bool(const QString&)>& WriteFault() {
    static std::function<bool(const QString&)> fault;
    return fault;
}

QByteArray Native(const QString& path) {
    return QFile::encodeName(path);
}

// Opens a regular file for reading. Special files are turned away by stat before the open, and
// the open itself does not block, so a FIFO swapped in between cannot hang the program either.
int OpenRegularForReading(const QString& path, struct stat& st) {
    const QByteArray native = Native(path);
    if (native.isEmpty() || stat(native.constData(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    const int fd = open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return -1;
    }
    return fd;
}

// Reads up to size bytes; the count read, or -1 on a read error.
qint64 ReadUpTo(int fd, char* buffer, qint64 size) {
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = read(fd, buffer + done, static_cast<size_t>(size - done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return -1;
        if (n == 0) break;
        done += n;
    }
    return done;
}

bool WriteAll(int fd, const char* data, qint64 size) {
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = write(fd, data + done, static_cast<size_t>(size - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += n;
    }
    return true;
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

// Creates a new, empty temporary file beside target; its descriptor, or -1.
int CreateTemporaryBeside(const QByteArray& target, QByteArray& tempPath) {
    const QByteArray folder = FolderOf(target);
    const QByteArray name = NameOf(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray suffix =
            QByteArray::number(QRandomGenerator::global()->generate() & 0xFFFFFF, 16);
        tempPath = folder + "/." + name + "." + suffix + ".tmp";
        // 0666 lets the umask decide, exactly as for any other file the user creates.
        const int fd = open(tempPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return fd;
        if (errno != EEXIST) return -1;
    }
    return -1;
}

void SyncFolder(const QByteArray& folder) {
    const int fd = open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

qint64 GetImageFileSize(const QString& path) {
    struct stat st {};
    const int fd = OpenRegularForReading(path, st);
    if (fd < 0) return 0;
    close(fd);
    return static_cast<qint64>(st.st_size);
}

bool ReadImageFile(const QString& path, ImageBytes& bytes) {
    bytes.fill(0);
    struct stat st {};
    const int fd = OpenRegularForReading(path, st);
    if (fd < 0) return false;
    const qint64 n = ReadUpTo(fd, reinterpret_cast<char*>(bytes.data()), kImageSize);
    close(fd);
    return n == kImageSize;
}

bool WriteImageFile(const QString& path, const ImageBytes& bytes) {
    return WriteFileAtomically(path,
                               QByteArray(reinterpret_cast<const char*>(bytes.data()), kImageSize));
}

bool WriteFileAtomically(const QString& path, const QByteArray& data) {
    QByteArray target = Native(path);
    if (target.isEmpty() || target.endsWith('/')) return false;

    struct stat st {};
    if (lstat(target.constData(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = realpath(target.constData(), nullptr)) {
            target = real;
            free(real);
        }
    }
    bool exists = false;
    mode_t mode = 0;
    if (stat(target.constData(), &st) == 0) {
        // A folder or a special file is never replaced, and a file that the user may not write
        // stays read-only: replacing it by a rename would silently get round that.
        if (!S_ISREG(st.st_mode) || access(target.constData(), W_OK) != 0) return false;
        exists = true;
        mode = st.st_mode & 07777;
    }

    QByteArray tempPath;
    const int fd = CreateTemporaryBeside(target, tempPath);
    if (fd < 0) return false;

    bool ok;
    if (WriteFault() && WriteFault()(path)) {
        WriteAll(fd, data.constData(), data.size() / 2);
        ok = false;
    } else {
        ok = WriteAll(fd, data.constData(), data.size());
    }
    if (ok && exists) ok = fchmod(fd, mode) == 0;
    if (ok) ok = fsync(fd) == 0;
    if (close(fd) != 0) ok = false;
    if (ok) ok = rename(tempPath.constData(), target.constData()) == 0;
    if (!ok) {
        unlink(tempPath.constData());
        return false;
    }
    SyncFolder(FolderOf(target));
    return true;
}

bool CopyTemplateFile(const QString& sourceFolder, const QString& sourceName,
                      const QString& targetFolder, const QString& targetName) {
    struct stat st {};
    const int fd = OpenRegularForReading(sourceFolder + sourceName, st);
    // Without a readable source the target is left alone: an empty copy would only destroy it.
    if (fd < 0) return false;
    QByteArray data;
    char block[256];
    bool ok = true;
    for (;;) {
        const qint64 n = ReadUpTo(fd, block, sizeof block);
        if (n < 0) {
            ok = false;
            break;
        }
        if (n == 0) break;
        data.append(block, static_cast<int>(n));
    }
    close(fd);
    return ok && WriteFileAtomically(targetFolder + targetName, data);
}

bool PathExists(const QString& path) {
    struct stat st {};
    const QByteArray native = Native(path);
    return !native.isEmpty() && stat(native.constData(), &st) == 0;
}

bool IsExistingFolder(const QString& path) {
    struct stat st {};
    const QByteArray native = Native(path);
    return !native.isEmpty() && stat(native.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsExistingFile(const QString& path) {
    struct stat st {};
    const QByteArray native = Native(path);
    return !native.isEmpty() && stat(native.constData(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool IsReadOnlyFile(const QString& path) {
    const QByteArray native = Native(path);
    return PathExists(path) && access(native.constData(), W_OK) != 0;
}

void SetWriteFaultForTests(std::function<bool(const QString& path)> fault) {
    WriteFault() = std::move(fault);
}
