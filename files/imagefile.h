#pragma once
// Reading and writing configuration files, templates and the settings file on disk. None of
// these helpers shows a message; they answer true or false and the window decides what to say.
//
// Every write replaces its target in one step: the bytes go to a temporary file in the same
// folder, which is flushed to the disk and then renamed over the target. A write that fails at
// any point leaves the old file exactly as it was.

#include <QByteArray>
#include <QString>
#include <functional>

#include "config/image.h"

// The size in bytes of a regular file that can be opened for reading; 0 for anything else
// (missing, a folder, a FIFO, a device node, a socket, no permission). Special files are
// recognised before they are opened, so nothing can block here.
qint64 GetImageFileSize(const QString& path);

// Clears bytes to 0 and reads the first 256 bytes of the regular file at path. True only when all
// 256 bytes were read; a longer file passes with its first 256 bytes.
bool ReadImageFile(const QString& path, ImageBytes& bytes);

// Replaces (or creates) the file at path with exactly these 256 bytes.
bool WriteImageFile(const QString& path, const ImageBytes& bytes);

// Replaces (or creates) the file at path with data. An existing target keeps its permissions; a
// new one gets the user's default permissions. A symbolic link is followed, so the file it points
// to is replaced and the link stays.
bool WriteFileAtomically(const QString& path, const QByteArray& data);

// Copies sourceFolder + sourceName to targetFolder + targetName (plain concatenations), reading
// the source in blocks of 256 bytes. The target is replaced only when the whole source was read.
bool CopyTemplateFile(const QString& sourceFolder, const QString& sourceName,
                      const QString& targetFolder, const QString& targetName);

// True when something exists at path (file, folder or special file).
bool PathExists(const QString& path);
// True when path names an existing folder.
bool IsExistingFolder(const QString& path);
// True when something that is not a folder exists at path (a special file counts: opening it as
// a configuration then fails with the size check, which is what the user should hear about).
bool IsExistingFile(const QString& path);
// True when the user may not write the existing file at path.
bool IsReadOnlyFile(const QString& path);

// Test seam: when set, it is asked before each atomic write with the target path; answering true
// makes the write fail half-way (after the temporary file got some bytes), as a full disk would.
void SetWriteFaultForTests(std::function<bool(const QString& path)> fault);
