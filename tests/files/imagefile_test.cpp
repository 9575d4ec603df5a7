// Configuration files on disk: which paths count as a file of 256 bytes, and that a write
// replaces a file whole or not at all.

#include "files/imagefile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryDir>

#include "files/fileerrors.h"
#include "files/filewrite.h"
#include "resources/catalogue.h"
#include "resources/msg.h"
#include "test_folder.h"

class ImageFileTest : public ::testing::Test {
  protected:
    void TearDown() override { SetWriteFaultForTests(nullptr); }
    QString Path(const QString& name) const { return dir.path() + "/" + name; }
    QStringList Entries() const {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    QTemporaryDir dir;
};

TEST_F(ImageFileTest, OnlyRegularFilesHaveASize) {
    WriteBytes(Path("ok.Korbi"), Counting(256));
    WriteBytes(Path("short.korbi"), Counting(255));
    WriteBytes(Path("long.bin"), Counting(257));
    WriteBytes(Path("empty.Korbi"), QByteArray());
    QDir(dir.path()).mkdir("folder.korbi");
    ASSERT_EQ(mkfifo(QFile::encodeName(Path("pipe.Korbi")).constData(), 0600), 0);
    ASSERT_EQ(symlink(QFile::encodeName(Path("ok.Korbi")).constData(),
                      QFile::encodeName(Path("link.Korbi")).constData()),
              0);

    const struct {
        QString path;
        qint64 size;
    } cases[] = {
        {Path("ok.Korbi"), 256},  {Path("short.korbi"), 255}, {Path("long.bin"), 257},
        {Path("empty.Korbi"), 0}, {Path("missing.Korbi"), 0}, {Path("folder.korbi"), 0},
        {Path("pipe.Korbi"), 0},  {"/dev/null", 0},           {Path("link.Korbi"), 256},
        {QString(), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(GetImageFileSize(c.path), c.size) << c.path.toStdString();
}

TEST_F(ImageFileTest, ReadTakesTheFirst256BytesOfALongEnoughFile) {
    WriteBytes(Path("long.bin"), Counting(300, 7));
    WriteBytes(Path("short.bin"), Counting(255, 1));
    ASSERT_EQ(mkfifo(QFile::encodeName(Path("pipe.bin")).constData(), 0600), 0);

    ImageBytes bytes;
    ASSERT_TRUE(ReadImageFile(Path("long.bin"), bytes));
    EXPECT_EQ(AsBytes(bytes), Counting(256, 7));

    // A failed read leaves the buffer cleared, whatever it held before.
    for (const QString& bad : {Path("short.bin"), Path("pipe.bin"), Path("missing.bin")}) {
        bytes.fill(0xEE);
        EXPECT_FALSE(ReadImageFile(bad, bytes)) << bad.toStdString();
        if (bad.endsWith("short.bin")) {
            EXPECT_EQ(bytes[254], 255);  // what there was is read
            EXPECT_EQ(bytes[255], 0);
        } else {
            EXPECT_EQ(AsBytes(bytes), QByteArray(256, 0));
        }
    }
}

TEST_F(ImageFileTest, WriteKeepsOwnerGroupModeAndLinksOfTheFile) {
    // A shared folder like /tmp. As root the files can belong to others; the last file is saved
    // by a user ("nobody") who may write it but not own a copy of it, so it is written in place.
    ASSERT_EQ(chmod(QFile::encodeName(dir.path()).constData(), 01777), 0);
    const struct {
        const char* name;
        uid_t owner;
        gid_t group;
        mode_t mode;
        bool hardLink;
        bool asNobody;
    } cases[] = {
        {"private.Korbi", geteuid(), getegid(), 0640, false, false},
        {"linked.Korbi", geteuid(), getegid(), 0644, true, false},
        {"staff.Korbi", 65534, 50, 0664, false, false},
        {"shared.Korbi", 0, 0, 0666, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!RunningAsSuperuser() && (c.owner != geteuid() || c.group != getegid() || c.asNobody))
            continue;
        const QString path = Path(c.name);
        const QByteArray native = QFile::encodeName(path);
        WriteBytes(path, Counting(256, 9));
        ASSERT_EQ(chown(native.constData(), c.owner, c.group), 0);
        ASSERT_EQ(chmod(native.constData(), c.mode), 0);
        if (c.hardLink) {
            ASSERT_EQ(link(native.constData(), (native + ".2").constData()), 0);
        }

        auto write = [&] {
            ImageBytes bytes;
            bytes.fill(0x5A);
            return WriteImageFile(path, bytes);
        };
        EXPECT_TRUE(c.asNobody ? RunAsUnprivilegedUser(write) : write());
        EXPECT_EQ(ReadBytes(path), QByteArray(256, 0x5A));
        EXPECT_EQ(ReadBytes(path + (c.hardLink ? ".2" : "")), QByteArray(256, 0x5A));
        struct stat st {};
        ASSERT_EQ(stat(native.constData(), &st), 0);
        EXPECT_EQ(st.st_uid, c.owner);
        EXPECT_EQ(st.st_gid, c.group);
        EXPECT_EQ(st.st_mode & 07777, c.mode);
        EXPECT_EQ(st.st_nlink, c.hardLink ? 2u : 1u);
    }
    for (const QString& entry : Entries())
        EXPECT_FALSE(entry.endsWith(".tmp")) << entry.toStdString();
}

TEST_F(ImageFileTest, ALinkIsFollowedOnlyWhenTheUserOrRootOwnsIt) {
    // Anybody may plant a link in a shared folder; one of another user's must not lead a save
    // onto the file it points to. Only root can give a link to another user.
    ASSERT_EQ(chmod(QFile::encodeName(dir.path()).constData(), 01777), 0);
    WriteBytes(Path("real.Korbi"), Counting(256));
    const struct {
        const char* link;
        const char* to;
        uid_t owner;
        int error;
    } cases[] = {
        {"foreign.Korbi", "real.Korbi", 65534, ELOOP},
        {"chain.Korbi", "foreign.Korbi", geteuid(), ELOOP},  // a foreign link further on
        {"own.Korbi", "real.Korbi", geteuid(), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.link);
        if (c.error && !RunningAsSuperuser()) continue;
        const QByteArray link = QFile::encodeName(Path(c.link));
        ASSERT_EQ(symlink(c.to, link.constData()), 0);
        ASSERT_EQ(lchown(link.constData(), c.owner, c.owner), 0);
        ImageBytes bytes;
        bytes.fill(1);
        int error = -1;
        EXPECT_EQ(WriteImageFile(Path(c.link), bytes, &error), c.error == 0);
        EXPECT_EQ(error, c.error);
        EXPECT_TRUE(QFileInfo(Path(c.link)).isSymLink());
        EXPECT_EQ(ReadBytes(Path("real.Korbi")), c.error ? Counting(256) : QByteArray(256, 1));
    }
    EXPECT_EQ(Entries().size(), RunningAsSuperuser() ? 4 : 2);
}

TEST_F(ImageFileTest, AFailedWriteLeavesTheOldFileWhole) {
    const QString path = Path("anlage.Korbi");
    WriteBytes(path, Counting(256, 3));
    QDir(dir.path()).mkdir("folder.Korbi");
    ImageBytes bytes;
    bytes.fill(0x77);

    // A disk that fills up half-way through the write.
    SetWriteFaultForTests([](const QString&) { return true; });
    EXPECT_FALSE(WriteImageFile(path, bytes));
    SetWriteFaultForTests(nullptr);
    EXPECT_EQ(ReadBytes(path), Counting(256, 3));

    // A file-size limit below 256 bytes, on the normal way and in place (a hard-linked file).
    // The program ignores the signal that would otherwise kill it.
    ASSERT_EQ(link(QFile::encodeName(path).constData(),
                   QFile::encodeName(Path("linked.Korbi")).constData()),
              0);
    EXPECT_TRUE(RunInChild(
        [&] {
            IgnoreFileSizeSignal();
            const rlimit limit{100, 100};
            int error = 0;
            return setrlimit(RLIMIT_FSIZE, &limit) == 0 &&
                   !WriteImageFile(Path("linked.Korbi"), bytes, &error) && error == EFBIG &&
                   WriteFileSafely(Path("new.Korbi"), QByteArray(256, 1)) == EFBIG;
        },
        false));
    EXPECT_EQ(ReadBytes(path), Counting(256, 3));
    QFile::remove(Path("linked.Korbi"));

    // A folder is never replaced, nor is a file created in a folder that does not exist.
    EXPECT_FALSE(WriteImageFile(Path("folder.Korbi"), bytes));
    EXPECT_TRUE(QFileInfo(Path("folder.Korbi")).isDir());
    EXPECT_FALSE(WriteImageFile(Path("missing/anlage.Korbi"), bytes));
    EXPECT_EQ(Entries(), (QStringList{"anlage.Korbi", "folder.Korbi"}));
}

// A co-worker in a shared folder tries to turn a save onto the private file victim/anlage.Korbi
// of the user who saves share/projekt/anlage.Korbi; a signal must not leave a temporary behind.
TEST_F(ImageFileTest, SharedFolderAttacksNeverReachAnotherFile) {
    enum Attack { None, SwapAtTemporary, PutBackFails };
    const struct {
        const char* name;
        const char* folder;  // share/link leads to victim/
        Attack attack;
        bool hardLinked;  // written in place
        int signal;
        int error;
    } cases[] = {
        {"own-link", "share/link", None, false, 0, 0},
        {"swap", "share/projekt", SwapAtTemporary, false, 0, 0},
        {"put-back", "share/projekt", PutBackFails, true, 0, ENOSPC | kFileMayBeDamaged},
        {"sigterm", "share/projekt", None, false, SIGTERM, 0},
        {"sigint-in-place", "share/projekt", None, true, SIGINT, 0},
        {"foreign-link", "share/link", None, false, 0, kForeignFolderLink},  // root only
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const bool foreign = c.error == kForeignFolderLink;
        if (foreign && !RunningAsSuperuser())
            GTEST_SKIP() << "only root can give a link to another user";
        const QString base = Path(c.name);
        ASSERT_TRUE(QDir().mkpath(base + "/share/projekt") && QDir().mkpath(base + "/victim"));
        const QString saved = base + "/share/projekt/anlage.Korbi";
        const QString victim = base + "/victim/anlage.Korbi";
        WriteBytes(saved, Counting(256, 3));
        WriteBytes(victim, Counting(256, 9));
        if (c.hardLinked) {
            ASSERT_EQ(link(QFile::encodeName(saved), QFile::encodeName(saved + ".2")), 0);
        }
        const QByteArray linkPath = QFile::encodeName(base + "/share/link");
        ASSERT_EQ(symlink("../victim", linkPath.constData()), 0);
        if (foreign) {
            ASSERT_EQ(lchown(linkPath.constData(), 65534, 65534), 0);
        }

        bool swapped = false;
        SetWriteFaultForTests([&](const QString&) {
            if (c.attack == SwapAtTemporary && !swapped) {  // as an inotify watcher would
                swapped = rename(QFile::encodeName(base + "/share/projekt"),
                                 QFile::encodeName(base + "/share/alt")) == 0 &&
                          symlink("../victim", QFile::encodeName(base + "/share/projekt")) == 0;
                EXPECT_TRUE(swapped);
            }
            if (c.signal) raise(c.signal);
            return c.attack == PutBackFails;
        });
        const QString path = base + "/" + c.folder + "/anlage.Korbi";
        const QByteArray data(256, 0x5A);
        if (c.signal) {
            EXPECT_FALSE(RunInChild([&] { return WriteFileSafely(path, data) == 0; }, false));
        } else {
            const int error = WriteFileSafely(path, data);
            EXPECT_EQ(error, c.error);
            EXPECT_EQ(FileErrorCause(error).startsWith(Text(Msg::CauseFileMayBeDamaged)),
                      c.attack == PutBackFails);
        }
        SetWriteFaultForTests(nullptr);

        const bool intoVictim = c.folder == QString("share/link") && !foreign;
        EXPECT_EQ(ReadBytes(victim), intoVictim ? data : Counting(256, 9));
        const QByteArray kept = ReadBytes(swapped ? base + "/share/alt/anlage.Korbi" : saved);
        if (c.attack == PutBackFails) {  // the message tells the truth
            EXPECT_NE(kept, Counting(256, 3));
        } else if (!intoVictim) {
            EXPECT_EQ(kept, foreign ? Counting(256, 3) : data);
        }
        QDirIterator temporary(base, {"*.tmp"}, QDir::Files | QDir::Hidden,
                               QDirIterator::Subdirectories);
        EXPECT_FALSE(temporary.hasNext()) << temporary.next().toStdString();
    }
}

TEST_F(ImageFileTest, AReadOnlyFileIsNotWrittenButAWritableOneInALockedFolderIs) {
    // The files belong to the superuser or are read-only for everybody; the check runs as a
    // user who may not write them (as root the tests cannot make such a file otherwise). A
    // writable file in a folder that takes no new files is written in place.
    const QString path = Path("anlage.Korbi");
    WriteBytes(path, Counting(256));
    chmod(QFile::encodeName(path).constData(), 0444);
    QDir(dir.path()).mkdir("locked");
    WriteBytes(Path("locked/old.Korbi"), Counting(256));
    chmod(QFile::encodeName(Path("locked/old.Korbi")).constData(), 0666);
    chmod(QFile::encodeName(Path("locked")).constData(), 0555);
    chmod(QFile::encodeName(dir.path()).constData(), 0777);

    auto check = [&] {
        ImageBytes bytes{};
        int readOnly = 0, newFile = 0;
        return IsReadOnlyFile(path) && !WriteImageFile(path, bytes, &readOnly) &&
               readOnly == EACCES && WriteImageFile(Path("locked/old.Korbi"), bytes) &&
               !WriteImageFile(Path("locked/new.Korbi"), bytes, &newFile) && newFile == EACCES;
    };
    EXPECT_TRUE(RunningAsSuperuser() ? RunAsUnprivilegedUser(check) : check());
    EXPECT_EQ(ReadBytes(path), Counting(256));
    EXPECT_EQ(ReadBytes(Path("locked/old.Korbi")), QByteArray(256, 0));
    EXPECT_EQ(QDir(Path("locked")).entryList(QDir::Files | QDir::Hidden), QStringList{"old.Korbi"});
    chmod(QFile::encodeName(Path("locked")).constData(), 0755);
}

TEST_F(ImageFileTest, CopyTakesTheWholeSourceAndNeverEmptiesTheTarget) {
    WriteBytes(Path("Values.i"), Counting(1000));  // several blocks and a short last one
    ASSERT_TRUE(CopyTemplateFile(dir.path() + "/", "Values.i", dir.path() + "/", "Values.ini"));
    EXPECT_EQ(ReadBytes(Path("Values.ini")), Counting(1000));

    WriteBytes(Path("Default_v1.bin"), Counting(256));
    EXPECT_FALSE(
        CopyTemplateFile(dir.path() + "/", "Default_v1.b", dir.path() + "/", "Default_v1.bin"));
    EXPECT_EQ(ReadBytes(Path("Default_v1.bin")), Counting(256));
}
