#include "files/fileerrors.h"

#include <cerrno>
#include <cstring>

#include "app/catalogue.h"

namespace {

struct Cause {
    int error;
    int textId;
};

// EISDIR also stands for any special file in a file's place: neither is ever written over.
// ELOOP also stands for a symbolic link that is not followed because it belongs to another user.
constexpr Cause kCauses[] = {
    {ENOSPC, 20000}, {EDQUOT, 20001},       {EACCES, 20002}, {EPERM, 20003}, {EROFS, 20004},
    {EFBIG, 20005},  {ENAMETOOLONG, 20006}, {ENOENT, 20007}, {ELOOP, 20008}, {EISDIR, 20009},
};
constexpr int kOtherCause = 20010;  // "Das Betriebssystem meldet den Fehler %s."

}  // namespace

QString FileErrorCause(int error) {
    if (error == 0) return QString();
    for (const Cause& cause : kCauses)
        if (cause.error == error) return Text(cause.textId);
    const char* name = strerrorname_np(error);
    const QString number = QString::number(error);
    return FillText(kOtherCause, {name ? QString("%1 (%2)").arg(name, number) : number});
}

QString WithCause(const QString& text, const QString& cause) {
    return cause.isEmpty() ? text : text + "\n\n" + cause;
}
