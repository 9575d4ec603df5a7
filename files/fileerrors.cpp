#include "files/fileerrors.h"

#include <cerrno>
#include <cstring>

#include "resources/catalogue.h"
#include "resources/msg.h"

namespace {

struct Cause {
    int error;
    int textId;
};

// EISDIR also stands for any special file in a file's place: neither is ever written over.
// ELOOP also stands for a symbolic link that is not followed because it belongs to another user.
constexpr Cause kCauses[] = {
    {ENOSPC, Msg::CauseDiskFull},          {EDQUOT, Msg::CauseQuotaExceeded},
    {EACCES, Msg::CauseNoAccess},          {EPERM, Msg::CauseNotPermitted},
    {EROFS, Msg::CauseReadOnlyDisk},       {EFBIG, Msg::CauseFileTooLarge},
    {ENAMETOOLONG, Msg::CauseNameTooLong}, {ENOENT, Msg::CauseNoSuchFile},
    {ELOOP, Msg::CauseUnsafeLink},         {EISDIR, Msg::CauseNotARegularFile},
};

}  // namespace

QString FileErrorCause(int error) {
    if (error == 0) return QString();
    for (const Cause& cause : kCauses)
        if (cause.error == error) return Text(cause.textId);
    const char* name = strerrorname_np(error);
    const QString number = QString::number(error);
    return FillText(Msg::CauseOtherError, {name ? QString("%1 (%2)").arg(name, number) : number});
}

QString WithCause(const QString& text, const QString& cause) {
    return cause.isEmpty() ? text : text + "\n\n" + cause;
}
