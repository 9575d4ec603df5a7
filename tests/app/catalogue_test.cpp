#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

#include "app/catalogue.h"

TEST(Catalogue, HoldsAllEntriesWithTheirTexts) {
    EXPECT_EQ(CatalogueIds().size(), 126);
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

// Every id that the program's sources ask the catalogue for must have a text.
TEST(Catalogue, EveryIdUsedByTheCodeHasAText) {
    const QRegularExpression use(R"((?:Text|Box|Status|Message)\w*\(\s*(1\d{4})\b)");
    int found = 0;
    for (const char* folder : {"app", "config", "link", "files"}) {
        QDirIterator it(QString(KORBI_SOURCE_DIR) + "/" + folder, {"*.cpp", "*.h"},
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile f(it.next());
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            const QString source = QString::fromUtf8(f.readAll());
            for (auto m = use.globalMatch(source); m.hasNext();) {
                const int id = m.next().captured(1).toInt();
                EXPECT_FALSE(Text(id).isEmpty()) << f.fileName().toStdString() << " uses " << id;
                ++found;
            }
        }
    }
    EXPECT_GE(found, 0);
}
