#include "files/imagefile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "files/filenames.h"

namespace {

QByteArray Native(const QString& path) {
    return FileNameBytes(path);
}

// Opens a regular file for reading; -1 and error set when that is not possible (EISDIR for a
// folder or any special file). Special files are turned away by stat before the open, and the
// open itself does not block, so a FIFO swapped in between cannot hang the program either.
int OpenRegularForReading(const QString& path, struct stat& st, int& error) {
    const QByteArray native = Native(path);
    error = ENOENT;
    if (native.isEmpty()) return -1;
    if (stat(native.constData(), &st) != 0) {
        error = errno;
        return -1;
    }
    error = EISDIR;
    if (!S_ISREG(st.st_mode)) return -1;
    const int fd = open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return -1;
    }
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return -1;
    }
    error = 0;
    return fd;
}

// Reads up to size bytes; the count read, or -1 (and error set) on a read error.
qint64 ReadUpTo(int fd, char* buffer, qint64 size, int& error) {
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = read(fd, buffer + done, static_cast<size_t>(size - done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = errno;
            return -1;
        }
        if (n == 0) break;
        done += n;
    }
    return done;
}

void Report(int* error, int value) {
    if (error) *error = value;
}

}  // namespace

qint64 GetImageFileSize(const QString& path, int* error) {
    struct stat st {};
    int failure = 0;
    const int fd = OpenRegularForReading(path, st, failure);
    Report(error, failure);
    if (fd < 0) return 0;
    close(fd);
    return static_cast<qint64>(st.st_size);
}

bool ReadImageFile(const QString& path, ImageBytes& bytes, int* error) {
    bytes.fill(0);
    struct stat st {};
    int failure = 0;
    const int fd = OpenRegularForReading(path, st, failure);
    qint64 n = 0;
    if (fd >= 0) {
        n = ReadUpTo(fd, reinterpret_cast<char*>(bytes.data()), kImageSize, failure);
        close(fd);
    }
    Report(error, failure);
    return n == kImageSize;
}

bool WriteImageFile(const QString& path, const ImageBytes& bytes, int* error) {
    const int failure =
        WriteFileSafely(path, QByteArray(reinterpret_cast<const char*>(bytes.data()), kImageSize));
    Report(error, failure);
    return failure == 0;
}

bool CopyTemplateFile(const QString& sourceFolder, const QString& sourceName,
                      const QString& targetFolder, const QString& targetName) {
    struct stat st {};
    int error = 0;
    const int fd = OpenRegularForReading(sourceFolder + sourceName, st, error);
    // Without a readable source the target is left alone: an empty copy would only destroy it.
    if (fd < 0) return false;
    QByteArray data;
    char block[256];
    bool ok = true;
    for (;;) {
        const qint64 n = ReadUpTo(fd, block, sizeof block, error);
        if (n < 0) {
            ok = false;
            break;
        }
        if (n == 0) break;
        data.append(block, static_cast<int>(n));
    }
    close(fd);
    return ok && WriteFileSafely(targetFolder + targetName, data) == 0;
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
