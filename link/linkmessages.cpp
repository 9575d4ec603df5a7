#include "link/linkmessages.h"

#include <grp.h>
#include <sys/stat.h>

#include <cerrno>

#include "resources/catalogue.h"

namespace {

// The group that owns the device file, when joining it would help: never root, whose
// membership nobody should be given for a serial port.
QString OwningGroup(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || info.st_gid == 0) return QString();
    const group* owner = getgrgid(info.st_gid);
    return owner ? QString::fromLocal8Bit(owner->gr_name) : QString();
}

}  // namespace

QString OpenFailureCause(const OpenFailure& failure) {
    const QString path = QString::fromLocal8Bit(failure.path.c_str());
    switch (failure.error) {
        case EACCES:
        case EPERM: {
            const QString group = OwningGroup(failure.path);
            return group.isEmpty() ? FillText(Msg::LpxNoPermission, {path})
                                   : FillText(Msg::LpxNoPermissionJoinGroup, {path, group, group});
        }
        case EBUSY:
            return FillText(Msg::LpxBusy, {path});
        default:
            return QString();
    }
}
