// The settings file: keys in any letter case, missing parts read as empty, and a refused write
// that leaves the old file as it was.

#include "files/settingsfile.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "files/filenames.h"
#include "files/imagefile.h"
#include "files/recentfiles.h"
#include "test_folder.h"

class SettingsFileTest : public ::testing::Test {
  protected:
    void TearDown() override { SetWriteFaultForTests(nullptr); }
    QTemporaryDir dir;
    QString file = SettingsFilePath(dir.path() + "/");
};

TEST_F(SettingsFileTest, PathIsTheDataFolderAndValuesIni) {
    EXPECT_EQ(SettingsFilePath("/data/TALO/K-ORBI Programmer (DE)/"),
              "/data/TALO/K-ORBI Programmer (DE)/Values.ini");
}

TEST_F(SettingsFileTest, MissingPartsReadEmpty) {
    EXPECT_EQ(ReadSetting(file, "Setup", "ConfigDirectory"), "");
    WriteBytes(file, "[Other]\nConfigDirectory=/x\n[Setup]\nAppVersion=1.0.0.0\n");
    EXPECT_EQ(ReadSetting(file, "Setup", "ConfigDirectory"), "");
    EXPECT_EQ(ReadSetting(file, "Missing", "AppVersion"), "");
}

TEST_F(SettingsFileTest, NamesMatchWithoutRegardToCase) {
    WriteBytes(file, "[SETUP]\r\nconfigdirectory=/home/anna/Anlagen\r\nAPPVERSION=2.0.3.90\r\n");
    EXPECT_EQ(ReadSetting(file, "Setup", "ConfigDirectory"), "/home/anna/Anlagen");
    EXPECT_EQ(ReadSetting(file, "setup", "AppVersion"), "2.0.3.90");

    // A write replaces the existing key instead of adding a second one in another case.
    ASSERT_TRUE(WriteSetting(file, "Setup", "ConfigDirectory", "/srv/Anlagen"));
    EXPECT_EQ(ReadSetting(file, "SETUP", "configDIRECTORY"), "/srv/Anlagen");
    EXPECT_EQ(ReadBytes(file).count("/srv/Anlagen"), 1);
    EXPECT_EQ(ReadBytes(file).toLower().count("configdirectory"), 1);
    EXPECT_EQ(ReadSetting(file, "Setup", "AppVersion"), "2.0.3.90");
}

TEST_F(SettingsFileTest, FirstWriteCreatesFileSectionAndKey) {
    ASSERT_TRUE(WriteSetting(file, "Setup", "ConfigDirectory", "/home/anna/Kunden Ä"));
    const QByteArray text = ReadBytes(file);
    EXPECT_TRUE(text.contains("[Setup]"));
    EXPECT_TRUE(text.contains("ConfigDirectory=/home/anna/Kunden"));
    EXPECT_EQ(ReadSetting(file, "Setup", "ConfigDirectory"), "/home/anna/Kunden Ä");
    // A file name from an old Latin-1 system keeps its bytes in the file and back.
    const QString latin1 = FileNameFromBytes("/home/anna/B\xFCro.Korbi");
    ASSERT_TRUE(WriteSetting(file, "Setup", "ConfigDirectory", latin1));
    EXPECT_TRUE(ReadBytes(file).contains("ConfigDirectory=/home/anna/B\xFCro.Korbi\n"));
    EXPECT_EQ(ReadSetting(file, "Setup", "ConfigDirectory"), latin1);
    // An empty value is written too, and reads back empty.
    ASSERT_TRUE(WriteSetting(file, "Setup", "ConfigDirectory", ""));
    EXPECT_EQ(ReadSetting(file, "Setup", "ConfigDirectory"), "");
}

TEST_F(SettingsFileTest, LongValuesAreCutTo2047Characters) {
    ASSERT_TRUE(WriteSetting(file, "Setup", "ConfigDirectory", QString(3000, 'a')));
    EXPECT_EQ(ReadSetting(file, "Setup", "ConfigDirectory"), QString(2047, 'a'));
}

TEST_F(SettingsFileTest, ARefusedWriteReportsAndKeepsTheOldFile) {
    WriteBytes(file, "[Setup]\nConfigDirectory=/old\nAppVersion=1.0.0.0\n");
    const QByteArray before = ReadBytes(file);
    SetWriteFaultForTests([](const QString&) { return true; });
    EXPECT_FALSE(WriteSetting(file, "Setup", "ConfigDirectory", "/new"));
    SetWriteFaultForTests(nullptr);
    EXPECT_EQ(ReadBytes(file), before);
    EXPECT_FALSE(WriteSetting(dir.path() + "/missing/Values.ini", "Setup", "AppVersion", "1"));
    EXPECT_EQ(WriteSettingFailureText("/x/Values.ini"), "Unable to write to /x/Values.ini");
}

// The recent files: newest first, each once, at most eight, any file name, and never a list
// so long that reading it back would cut a path.
TEST_F(SettingsFileTest, RecentFilesKeepTheLastEightWhole) {
    for (int i = 0; i < 10; ++i) RememberRecentFile(file, QString("/a/%1.Korbi").arg(i));
    RememberRecentFile(file, "/a/5.Korbi");
    const QString odd = "/a/b;c%41\nd.Korbi";
    QStringList list = RememberRecentFile(file, odd);
    EXPECT_EQ(list, (QStringList{odd, "/a/5.Korbi", "/a/9.Korbi", "/a/8.Korbi", "/a/7.Korbi",
                                 "/a/6.Korbi", "/a/4.Korbi", "/a/3.Korbi"}));
    EXPECT_EQ(ReadRecentFiles(file), list);
    EXPECT_EQ(ForgetRecentFile(file, "/a/9.Korbi").size(), 7);
    EXPECT_EQ(ReadSetting(file, "Setup", "ConfigDirectory"), "");  // other keys untouched

    for (char c : {'w', 'x', 'y', 'z'}) list = RememberRecentFile(file, "/" + QString(600, c));
    EXPECT_EQ(list.size(), 3);
    EXPECT_LE(JoinRecentFiles(list).size(), 2047);
    EXPECT_EQ(ReadRecentFiles(file), list);
}
