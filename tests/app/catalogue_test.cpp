#include "resources/catalogue.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cerrno>

#include "files/fileerrors.h"

TEST(Catalogue, HoldsAllEntriesWithTheirTexts) {
    // The 126 texts the users know; the newer ones start at 20000 (20050-20053: the LPX
    // connection).
    const QList<int> ids = CatalogueIds();
    const auto inRange = [&ids](int first, int last) {
        return std::count_if(ids.begin(), ids.end(),
                             [&](int id) { return id >= first && id <= last; });
    };
    EXPECT_EQ(inRange(0, 19999), 126);
    EXPECT_EQ(inRange(20100, 20149), 36);  // the journal's window, columns and server
    // verify after write, series (with its dialog), code lists, trace
    EXPECT_EQ(inRange(20200, 20249), 46);
    EXPECT_EQ(inRange(20150, 20199), 3);  // practice mode
    EXPECT_EQ(inRange(20050, 20099), 4);  // the LPX connection
    EXPECT_EQ(Text(10000), QString::fromUtf8("K-ORBI Programmiergerät"));
    EXPECT_EQ(Text(10822), QString::fromUtf8("Fehlerhafte Dateigröße!"));
    EXPECT_EQ(Text(19999), QString("\\TALO\\K-ORBI Programmer (DE)\\"));
    EXPECT_EQ(Text(10503).count('\n'), 2);
    EXPECT_EQ(Text(10622).count('\n'), 7);
    EXPECT_TRUE(Text(12345).isEmpty());
    EXPECT_TRUE(Text(0).isEmpty());
}

TEST(Catalogue, FillsPlaceholdersFromLeftToRight) {
    EXPECT_EQ(FillText(10223, {"3"}), "Nummer 3");
    EXPECT_EQ(FillText(10224, {"B"}), "Zone B");
    EXPECT_EQ(FillText(10817, {"12", "48"}),
              QString::fromUtf8("Fehler bei der Datenkonvertierung!\nWert 12, Adresse 48.\n"
                                "Bitte kontaktieren Sie die Talo GmbH"));
    EXPECT_EQ(FillPattern("%s - %s", {"a"}), "a - ");
    EXPECT_EQ(FillPattern("100%", {}), "100%");
}

// Each errno that a user can act on has its own German cause; the rest are named plainly.
TEST(Catalogue, FileErrorsHaveTheirCauses) {
    EXPECT_EQ(FileErrorCause(EIO), "Das Betriebssystem meldet den Fehler EIO (5).");
    EXPECT_TRUE(FileErrorCause(0).isEmpty());
    for (const int error : {ENOSPC, EDQUOT, EACCES, EPERM, EROFS, EFBIG, ENAMETOOLONG, ENOENT,
                            ELOOP, EISDIR, ENOTDIR, kForeignFolderLink, kForeignFile, ENXIO})
        EXPECT_FALSE(FileErrorCause(error).isEmpty() ||
                     FileErrorCause(error).startsWith("Das Betriebssystem meldet"))
            << error;
}

// Every text has a name and every name a text; the sources name the texts they use instead of
// writing their numbers, so a number cannot silently point at the wrong text.
TEST(Catalogue, SourcesUseTheNamesOfTheTexts) {
    QFile header(QString(KORBI_SOURCE_DIR) + "/resources/msg.h");
    ASSERT_TRUE(header.open(QIODevice::ReadOnly));
    QList<int> named;
    const QRegularExpression name(R"(\b[A-Z]\w* = (\d+),)");
    for (auto m = name.globalMatch(QString::fromUtf8(header.readAll())); m.hasNext();)
        named.append(m.next().captured(1).toInt());
    std::sort(named.begin(), named.end());
    EXPECT_EQ(named, CatalogueIds());

    const QRegularExpression literal(
        R"((?:Text|Box|Status|Message|Error|Information)\w*\(\s*([12]\d{4})\b)");
    for (const char* folder : {"app", "config", "link", "files", "cli"}) {
        QDirIterator it(QString(KORBI_SOURCE_DIR) + "/" + folder, {"*.cpp", "*.h"}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile f(it.next());
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            const auto m = literal.match(QString::fromUtf8(f.readAll()));
            EXPECT_FALSE(m.hasMatch())
                << f.fileName().toStdString() << ": " << m.captured(0).toStdString();
        }
    }
}

// Texts stay exactly as the users know them, odd spellings included; none was mangled on its
// way through the source's encoding.
TEST(Catalogue, TextsStayAsTheyStand) {
    const struct {
        int id;
        const char* part;
    } kept[] = {
        {10622, "2. Schaltfäche 'Ändern...' anklicken\n"},
        {10622, "4. Zum Bestätigen Ja ancklicken\n5."},
        {10804, "Das Auslesen der K-ORBI Kennummer wurde"},
        {10812, "gespeichert werden. \nDer angegebene Name muss ein gültiger Windows Dateiname"},
        {10812, "wie: [^:*?<>|]"},
        {10823, "Fehler beim Konvertieren der Daten(Adresse %s)\n"},
        {10874, "nicht in den K_ORBI geschrieben."},
        {10403, "für die K-ORBI Konfigurationsdateien an."},
        {10503, "Konfiguration\n\nBitte achten Sie darauf, dass die K-ORBI LED zuvor für mind. 3"},
        {10106, "Wähle Standard&verzeichnis..."},
        {10629, "Das Feld 'Neue Funkkennung' muss 4 hex. Ziffern enthalten"},
    };
    for (const auto& k : kept)
        EXPECT_TRUE(Text(k.id).contains(QString::fromUtf8(k.part))) << k.id << ": " << k.part;

    // A message that names a field names it as its label reads.
    QSet<QString> labels;
    for (const int id : CatalogueIds()) labels << QString(Text(id)).remove('&');
    const QRegularExpression field(QStringLiteral("Feld '([^']+)'"));
    for (const int id : CatalogueIds())
        for (const auto& match : field.globalMatch(Text(id)))
            EXPECT_TRUE(labels.contains(match.captured(1))) << id;

    for (const int id : CatalogueIds()) {
        const QString text = Text(id);
        // Replacement characters and Latin-1 read as UTF-8 ("Ã¤") show a broken encoding.
        EXPECT_FALSE(text.contains(QChar::ReplacementCharacter)) << id;
        EXPECT_FALSE(text.contains(QChar(0xC3))) << id;
        EXPECT_EQ(text, text.trimmed()) << id;
        for (const QChar c : text) {
            if (c.unicode() < 0x80) continue;
            EXPECT_TRUE(QStringLiteral("äöüÄÖÜß–").contains(c)) << id << " has U+" << c.unicode();
        }
    }
}
