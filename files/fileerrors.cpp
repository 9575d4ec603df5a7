#include "files/fileerrors.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "files/filenames.h"
#include "resources/catalogue.h"

namespace {

struct Cause {
    int error;
    int textId;
};

// EISDIR also stands for any special file in a file's place: neither is ever written over.
// ELOOP also stands for a symbolic link that is not followed because it belongs to another user.
// ENXIO comes only from opening a FIFO without a reader, a socket or a device that is not there.
constexpr Cause kCauses[] = {
    {ENOSPC, Msg::CauseNoSpace},           {EDQUOT, Msg::CauseQuotaExceeded},
    {EACCES, Msg::CauseNoPermission},      {EPERM, Msg::CauseNotPermitted},
    {EROFS, Msg::CauseReadOnlyMedium},     {EFBIG, Msg::CauseFileTooLarge},
    {ENAMETOOLONG, Msg::CauseNameTooLong}, {ENOENT, Msg::CauseNotFound},
    {ELOOP, Msg::CauseForeignLink},        {EISDIR, Msg::CauseNotAFile},
    {ENOTDIR, Msg::CauseNotAFolder},       {kForeignFolderLink, Msg::CauseForeignFolderLink},
    {kForeignFile, Msg::CauseForeignFile}, {ENXIO, Msg::CauseSpecialFile},
    {kSpecialFile, Msg::CauseSpecialFile},
};
constexpr int kOtherCause = Msg::CauseOther;

}  // namespace

QString FileErrorCause(int error) {
    if (error == 0) return QString();
    if (error & kFileMayBeDamaged)
        return WithCause(Text(Msg::CauseFileMayBeDamaged),
                         FileErrorCause(error & ~kFileMayBeDamaged));
    for (const Cause& cause : kCauses)
        if (cause.error == error) return Text(cause.textId);
    const char* name = strerrorname_np(error);
    const QString number = QString::number(error);
    return FillText(kOtherCause, {name ? QString("%1 (%2)").arg(name, number) : number});
}

int NotAFileError(const QString& path) {
    struct stat st {};
    if (stat(FileNameBytes(path).constData(), &st) != 0 || S_ISREG(st.st_mode)) return 0;
    return S_ISDIR(st.st_mode) ? EISDIR : kSpecialFile;
}

QString WithCause(const QString& text, const QString& cause) {
    return cause.isEmpty() ? text : text + "\n\n" + cause;
}
