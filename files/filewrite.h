#pragma once
// The one way the program writes a whole file: configuration files, the settings file and the
// templates it installs.

#include <QByteArray>
#include <QString>
#include <functional>

class FilePlace;

// Replaces (or creates) the file at path with data. Answers 0, or the errno value that says why
// the file was not written; the file is then as it was, unless the answer carries
// kFileMayBeDamaged (files/fileerrors.h).
//
// The path is resolved once (ResolveFilePlace); every step after works in the folder found
// then, so a folder swapped for a link meanwhile does not lead the save elsewhere. The signals
// that end a program from outside wait until the temporary file is renamed or removed.
//
// Normally the bytes go to a temporary file beside the target, which takes the target's owner,
// group and mode, is flushed to the disk and renamed over the target, so a failure at any point
// leaves the old file whole. Where a rename would change more than the contents - the folder
// refuses new files (a shared or read-only folder), the owner or group cannot be given to a new
// file, the file has further hard links or an access-control list - the bytes are written into
// the existing file instead, and its old contents are put back if that write fails.
//
// A symbolic link is followed only when it belongs to the user or to root: a link that another
// user planted in a shared folder must not turn a save onto somebody else's file (ELOOP, or
// kForeignFolderLink for a folder on the way). A folder or a special file is never written
// (EISDIR), nor is a file the user may not write.
int WriteFileSafely(const QString& path, const QByteArray& data);

// Opens a private log file to append to: created with mode 0600 when missing, its path resolved
// as a save resolves it (another user's link, on the way or as the name, is never followed),
// and only when it is a regular file (a FIFO or a device would block or swallow the lines). The
// descriptor (close-on-exec), or -1 with *error set as ResolveFilePlace or errno sets it.
int OpenPrivateAppend(const QString& path, int* error);

// Writes data as the new file name in the place's folder without ever replacing anything: when
// the name is taken, also by a file that appeared after the place was resolved, it answers
// EEXIST and writes nothing. Otherwise 0 or the errno value; no temporary file is left.
int WriteNewFile(const FilePlace& place, const QByteArray& name, const QByteArray& data);
// The same for a file too large to hold: produce writes it to the descriptor of a temporary
// file in the folder and answers 0 or an errno value; the file gets its name only when all of
// it was written. The temporary file is removed on every way out.
int WriteNewFileFrom(const FilePlace& place, const QByteArray& name,
                     const std::function<int(int fd)>& produce);

// Writes all of data at the file's position (its end, when opened with O_APPEND), going on
// after interruptions; 0 or the errno value of the failed write.
int WriteAllBytes(int fd, const QByteArray& data);

// A file-size limit (ulimit -f) kills a process that writes past it unless it ignores SIGXFSZ;
// ignored, the write fails with EFBIG and the program can say so and keep the user's edits.
// Called once at program start.
void IgnoreFileSizeSignal();

// Test seam: when set, it is asked before each write with the target path (also before the
// write that puts a file's old contents back); answering true makes that write fail half-way
// (after some bytes were written), as a full disk would.
void SetWriteFaultForTests(std::function<bool(const QString& path)> fault);
