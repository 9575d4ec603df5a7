#pragma once
// Where a file is to be written, resolved once: the folder it lies in, held open, and its name
// there. Every later step works relative to that folder (openat, renameat, unlinkat), so that a
// folder swapped for a symbolic link meanwhile cannot turn the work onto somebody else's file.

#include <sys/stat.h>

#include <QByteArray>
#include <QString>

class FilePlace {
  public:
    FilePlace() = default;
    ~FilePlace();
    FilePlace(const FilePlace&) = delete;
    FilePlace& operator=(const FilePlace&) = delete;

    int folder = -1;  // opened with O_PATH | O_DIRECTORY
    QByteArray name;  // one component of a path: no "/", never "." or ".."
    bool exists = false;
    struct stat st {};  // of the name, when it exists (never a symbolic link)
};

// Walks path from "/" or the working folder one component at a time, opening each folder
// without following links, and follows a symbolic link (in the middle or at the end) only when
// it belongs to the user or to root: a link that another user planted in a shared folder must
// not lead a save anywhere. 0, or the errno value that says why the place cannot be used: ELOOP
// for another user's link as the name itself (or too many links), kForeignFolderLink for one
// on the way, EISDIR when the path names a folder.
int ResolveFilePlace(const QString& path, FilePlace& place);

// ".<name>.<6 hex digits>.tmp", cut (at a character boundary) to fit the 255 bytes of a name.
QByteArray TemporaryName(const QByteArray& name);
