// The path rules of the file commands and the default folder.

#include "files/filenames.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "test_folder.h"

TEST(FileNames, ExtensionsAndTheirReplacement) {
    const struct {
        QString path, extension, korbi;
    } cases[] = {
        {"/a/anlage", "", "/a/anlage.Korbi"},
        {"/a/anlage.bin", ".bin", "/a/anlage.Korbi"},
        {"/a/anlage.Korbi", ".Korbi", "/a/anlage.Korbi"},
        {"/a/ANLAGE.KORBI", ".KORBI", "/a/ANLAGE.Korbi"},
        {"/a/an.lage.txt", ".txt", "/a/an.lage.Korbi"},
        {"/a.b/anlage", "", "/a.b/anlage.Korbi"},  // a dot in the folder is no extension
        {"/a/anlage.", ".", "/a/anlage.Korbi"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtensionOf(c.path), c.extension) << c.path.toStdString();
        EXPECT_EQ(ReplaceExtension(c.path, ".Korbi"), c.korbi) << c.path.toStdString();
    }
}

TEST(FileNames, ExactlyOneTrailingDelimiterGoes) {
    EXPECT_EQ(WithoutTrailingDelimiter("/home/anna/Anlagen/"), "/home/anna/Anlagen");
    EXPECT_EQ(WithoutTrailingDelimiter("/home/anna/Anlagen//"), "/home/anna/Anlagen/");
    EXPECT_EQ(WithoutTrailingDelimiter("/home/anna"), "/home/anna");
    EXPECT_EQ(WithoutTrailingDelimiter(""), "");
    EXPECT_EQ(WithoutTrailingDelimiter("/"), "/");  // the root keeps its only name
    EXPECT_EQ(FolderPart("/a/b.Korbi"), "/a");
    EXPECT_EQ(FolderPart("/b.Korbi"), "/");
    EXPECT_EQ(FileNamePart("/a/b.Korbi"), "b.Korbi");
}

TEST(FileNames, FilesAreFoundWithoutRegardToCase) {
    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    WriteBytes(folder + "Default_v2.bin", "x");
    EXPECT_EQ(FindPathIgnoringCase(folder + "default_v2.bin"), folder + "Default_v2.bin");
    EXPECT_EQ(FindPathIgnoringCase(folder + "Default_v2.bin"), folder + "Default_v2.bin");
    EXPECT_EQ(FindPathIgnoringCase(folder + "default_v1.bin"), folder + "default_v1.bin");
}

// Every name reaches the system with the bytes it came with: valid UTF-8 reads as its text, any
// other byte stays itself, also beside a character beyond U+FFFF.
TEST(FileNames, NamesKeepTheirBytes) {
    EXPECT_EQ(FileNameFromBytes("B\xC3\xBCro"), QString::fromUtf8("B\xC3\xBCro"));
    for (const QByteArray bytes :
         {"B\xFCro", "\xE2\x82", "\xC0\x80", "\xED\xA0\x80", "\xF0\x90\x82\x80\xFC"})
        EXPECT_EQ(FileNameBytes(FileNameFromBytes(bytes)), bytes) << bytes.toHex().constData();
}
