#pragma once
// Why a file could not be read or written, in words a user can act on. The file boxes show the
// cause as a second paragraph under their catalogue text.

#include <QString>

// Results of the file functions beyond the errno values.
// A folder on the way to the file is a symbolic link that belongs to another user; it is never
// followed.
constexpr int kForeignFolderLink = 0x1000;
// The file belongs to another user; a private file (the support trace) is never written into it.
constexpr int kForeignFile = 0x2000;
// A pipe, a socket or a device stands under the name: nothing is read from or written into it.
constexpr int kSpecialFile = 0x4000;
// Added to the errno value of a write into the file itself whose old contents could not be put
// back afterwards: the file may be damaged.
constexpr int kFileMayBeDamaged = 0x10000;

// The German cause for an errno value from a file operation; a plain fallback naming the error
// for values without a text of their own; empty for 0 (no cause known). A file that may be
// damaged is said first.
QString FileErrorCause(int error);

// What stands under path when it is no regular file: EISDIR for a folder, kSpecialFile for a
// pipe, a socket or a device; 0 for a regular file, or when nothing is there.
int NotAFileError(const QString& path);

// text, followed by an empty line and the cause when there is one.
QString WithCause(const QString& text, const QString& cause);
