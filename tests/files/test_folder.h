#pragma once
// Small helpers for tests that work on real files in a temporary folder.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <functional>

#include "config/image.h"

inline void WriteBytes(const QString& path, const QByteArray& data) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
    file.write(data);
}

inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QByteArray();
    return file.readAll();
}

inline QByteArray AsBytes(const ImageBytes& image) {
    return QByteArray(reinterpret_cast<const char*>(image.data()), kImageSize);
}

// n bytes counting up from first.
inline QByteArray Counting(int n, int first = 0) {
    QByteArray data(n, 0);
    for (int i = 0; i < n; ++i) data[i] = static_cast<char>(first + i);
    return data;
}

// The superuser may write every file, so a read-only file cannot be made for it.
inline bool RunningAsSuperuser() {
    return geteuid() == 0;
}

// Runs check in a child process, as the unprivileged user "nobody" (65534) when asked, so that a
// file the user may not write can be tried also when the tests run as the superuser, and limits
// or signals set by check stay in the child. True when check answered true. Paths the child
// needs must be reachable for that user.
inline bool RunInChild(const std::function<bool()>& check, bool unprivileged) {
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        alarm(30);  // never outlive the test
        if (unprivileged && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
        _exit(check() ? 0 : 1);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

inline bool RunAsUnprivilegedUser(const std::function<bool()>& check) {
    return RunInChild(check, true);
}
