#include "app/aboutinfo.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

const VersionRecord kRecord{"K-ORBI Programmiergerät", "1.0.0.0", "für K-ORBI"};

// Writes about.ini into dir with the given body; an empty body means no file.
QString WriteAboutIni(const QTemporaryDir& dir, const char* body) {
    const QString path = dir.filePath("about.ini");
    if (body) {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(body);
    }
    return path;
}

}  // namespace

TEST(AboutInfo, IniIntegersAsTheOldReaderTookThem) {
    const struct {
        const char* text;
        long value;
    } cases[] = {{"2", 2},    {"0x2", 2}, {"$1A", 26},       {"0X10", 16}, {"-3", -3},
                 {"abc", 0},  {"", 0},    {"2a", 0},         {"--2", 0},   {" 7 ", 7},
                 {"-$2", -2}, {"0x", 0},  {"99999999999", 0}};
    for (const auto& c : cases) EXPECT_EQ(ParseIniInteger(c.text), c.value) << c.text;
}

TEST(AboutInfo, ContactLinesFromTheSiteFile) {
    const QString v = "Version: 1.0.0.0 für K-ORBI";
    const QString d = "K-ORBI Programmiergerät";
    const struct {
        const char* ini;  // null: no file
        QStringList lines;
    } cases[] = {
        {nullptr, {d, v, "TALO Electronics AB", "", ""}},
        {"[AboutInfo]\nLines=2\nLine1=Firma\nLine2=Strasse\nWWW=www.x.de\nMAIL=a@x.de\n",
         {d, v, "", "Firma", "Strasse", "www.x.de", "a@x.de"}},
        {"[aboutinfo]\nlines=3\nLINE1=Nur eine\n", {d, v, "", "Nur eine", "", "", "", ""}},
        {"[AboutInfo]\nLines=-1\nLine1=x\n", {d, v, "", "", ""}},
        {"[AboutInfo]\nLines=zwei\nLine1=x\n", {d, v, "TALO Electronics AB", "", ""}},
        {"[AboutInfo]\nLines=0x2\nLine1=a\nLine2=b\n", {d, v, "", "a", "b", "", ""}},
        {"[Other]\nLines=2\n", {d, v, "TALO Electronics AB", "", ""}},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString path = WriteAboutIni(dir, c.ini);
        EXPECT_EQ(AboutInfoLines(kRecord, path), c.lines) << (c.ini ? c.ini : "(no file)");
    }
}

// Site files come from Windows as often as from Linux: the same lines in Windows-1252 and in
// UTF-8 read alike, and quotes around a value are not shown.
TEST(AboutInfo, SiteFilesReadAsTheyWereMeant) {
    const QStringList expected{"",
                               QString::fromUtf8("Müller & Söhne"),
                               QString::fromUtf8("Beispielstraße 1 – Tür 2"),
                               QString::fromUtf8("  Preis 5 €  "),
                               "www.x.de",
                               "'a@x.de"};
    const char* files[] = {
        "[AboutInfo]\nLines=3\nLine1=M\xFCller & S\xF6hne\nLine2=Beispielstra\xDF"
        "e 1 \x96 T\xFCr 2\nLine3=\"  Preis 5 \x80  \"\nWWW='www.x.de'\nMAIL='a@x.de\n",
        "\xEF\xBB\xBF[AboutInfo]\nLines=\"3\"\nLine1=Müller & Söhne\nLine2=Beispielstraße 1 – "
        "Tür 2\nLine3='  Preis 5 €  '\nWWW=\"www.x.de\"\nMAIL='a@x.de\n",
    };
    for (const char* body : files) {
        QTemporaryDir dir;
        EXPECT_EQ(AboutInfoLines({}, WriteAboutIni(dir, body)), expected) << body;
    }
}

TEST(AboutInfo, VersionLinesFollowTheRecord) {
    QTemporaryDir dir;
    const QString path = WriteAboutIni(dir, nullptr);
    EXPECT_EQ(AboutInfoLines({}, path).first(), "TALO Electronics AB");
    EXPECT_EQ(AboutInfoLines({"Desc", "", ""}, path).mid(0, 2),
              (QStringList{"Desc", "Version: unknown"}));
    EXPECT_EQ(AboutInfoLines({"", "2.0", ""}, path).first(), "Version: 2.0");
}

TEST(AboutInfo, AHugeLineCountDoesNotStallTheBox) {
    QTemporaryDir dir;
    const QString path = WriteAboutIni(dir, "[AboutInfo]\nLines=2000000000\n");
    EXPECT_EQ(AboutInfoLines({}, path).size(), 1 + kMaxContactLines + 2);
}
