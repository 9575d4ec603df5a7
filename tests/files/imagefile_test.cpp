// Configuration files on disk: which paths count as a file of 256 bytes, and that a write
// replaces a file whole or not at all.

#include "files/imagefile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

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

TEST_F(ImageFileTest, WriteReplacesTheFileAndKeepsItsPermissions) {
    const QString path = Path("anlage.Korbi");
    WriteBytes(path, Counting(256, 9));
    ASSERT_EQ(chmod(QFile::encodeName(path).constData(), 0640), 0);

    ImageBytes bytes;
    bytes.fill(0x5A);
    ASSERT_TRUE(WriteImageFile(path, bytes));
    EXPECT_EQ(ReadBytes(path), QByteArray(256, 0x5A));
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(Entries(), QStringList{"anlage.Korbi"});  // no temporary file left behind
}

TEST_F(ImageFileTest, WriteThroughALinkReplacesTheLinkedFile) {
    WriteBytes(Path("real.Korbi"), Counting(256));
    ASSERT_EQ(symlink("real.Korbi", QFile::encodeName(Path("link.Korbi")).constData()), 0);
    ImageBytes bytes;
    bytes.fill(1);
    ASSERT_TRUE(WriteImageFile(Path("link.Korbi"), bytes));
    EXPECT_TRUE(QFileInfo(Path("link.Korbi")).isSymLink());
    EXPECT_EQ(ReadBytes(Path("real.Korbi")), QByteArray(256, 1));
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

    // A folder is never replaced, nor is a file created in a folder that does not exist.
    EXPECT_FALSE(WriteImageFile(Path("folder.Korbi"), bytes));
    EXPECT_TRUE(QFileInfo(Path("folder.Korbi")).isDir());
    EXPECT_FALSE(WriteImageFile(Path("missing/anlage.Korbi"), bytes));
    EXPECT_EQ(Entries(), (QStringList{"anlage.Korbi", "folder.Korbi"}));
}

TEST_F(ImageFileTest, AReadOnlyFileOrFolderIsNotWritten) {
    // The files belong to the superuser or are read-only for everybody; the check runs as a
    // user who may not write them (as root the tests cannot make such a file otherwise).
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
        return IsReadOnlyFile(path) && !WriteImageFile(path, bytes) &&
               !WriteImageFile(Path("locked/old.Korbi"), bytes) &&
               !WriteImageFile(Path("locked/new.Korbi"), bytes);
    };
    EXPECT_TRUE(RunningAsSuperuser() ? RunAsUnprivilegedUser(check) : check());
    EXPECT_EQ(ReadBytes(path), Counting(256));
    EXPECT_EQ(ReadBytes(Path("locked/old.Korbi")), Counting(256));
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
