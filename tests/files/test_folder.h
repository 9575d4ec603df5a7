#pragma once
// Small helpers for tests that work on real files in a temporary folder.

#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QString>

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
inline bool RunningAsSuperuser() { return geteuid() == 0; }
