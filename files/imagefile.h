#pragma once
// Reading and writing configuration files, templates and the settings file on disk. None of
// these helpers shows a message; they answer true or false and the window decides what to say.
// Where they take an error, they put there the errno value that says why they failed (0 when no
// cause is known, for instance a file of the wrong size), so that the message can name it.
//
// Every write goes through WriteFileSafely: a write that fails at any point leaves the old file
// exactly as it was.

#include <QByteArray>
#include <QString>

#include "config/image.h"
#include "files/filewrite.h"

// The size in bytes of a regular file that can be opened for reading; 0 for anything else
// (missing, a folder, a FIFO, a device node, a socket, no permission). Special files are
// recognised before they are opened, so nothing can block here.
qint64 GetImageFileSize(const QString& path, int* error = nullptr);

// Clears bytes to 0 and reads the first 256 bytes of the regular file at path. True only when all
// 256 bytes were read; a longer file passes with its first 256 bytes.
bool ReadImageFile(const QString& path, ImageBytes& bytes, int* error = nullptr);

// Replaces (or creates) the file at path with exactly these 256 bytes.
bool WriteImageFile(const QString& path, const ImageBytes& bytes, int* error = nullptr);

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
