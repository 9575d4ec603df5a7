#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "app/about.h"
#include "jobs/devicejobs.h"
#include "link/lpxsim.h"
#include "link/simdriver.h"

namespace {

const VersionRecord kRecord{"K-ORBI Programmiergerät", "1.0.0.0", "für K-ORBI"};

struct AboutBoxTest : ::testing::Test {
    QTemporaryDir dir;
    LpxSim sim;
    SimDriver driver{sim};
    LpxAdapter adapter{&driver};
    // The window asks on its job thread; here the line comes at once.
    AboutBox::AskLpxLine ask = [this](std::function<void(const QString&)> told) {
        told(ReadLpxInfoLine(adapter));
    };
    AboutBox box;

    void SetUp() override {
        WriteAboutIni(dir, "[AboutInfo]\nLines=1\nLine1=Site\nWWW=www.example.com\n");
    }
    static void WriteAboutIni(const QTemporaryDir& folder, const char* text) {
        QFile f(folder.filePath("about.ini"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
};

}  // namespace

TEST_F(AboutBoxTest, ShowsTheLpxInfoTextWhenTheLpxAnswers) {
    sim.SetInfoText("15-1 LPX V1");
    box.Configure(dir.path() + "/", QString(), kRecord, ask);
    box.FormShow();
    EXPECT_EQ(box.lblLpxVersion->text(), "LPX info: 15-1 LPX V1");
    EXPECT_EQ(sim.Log(), (std::vector<std::string>{"v"}));
    EXPECT_EQ(driver.OpenHandles(), 0);  // opened and closed within the showing
    EXPECT_EQ(box.mmoInfo->toPlainText(),
              QString::fromUtf8("K-ORBI Programmiergerät\nVersion: 1.0.0.0 für K-ORBI\n\nSite\n"
                                "www.example.com\n"));
}

// The box waits for no LPX: it opens without the line, which shows once it arrives. Without an
// LPX there is no line, and nothing is asked.
TEST_F(AboutBoxTest, OpensAtOnceAndShowsTheLpxLineWhenItArrives) {
    std::function<void(const QString&)> told;
    box.Configure(dir.path() + "/", QString(), kRecord,
                  [&told](std::function<void(const QString&)> tell) { told = std::move(tell); });
    box.FormShow();
    EXPECT_TRUE(box.lblLpxVersion->text().isEmpty());
    EXPECT_EQ(box.windowTitle(), QString::fromUtf8("Info zum K-ORBI Programmiergerät"));
    EXPECT_EQ(box.btnOK->text(), "&OK");
    EXPECT_TRUE(box.btnOK->isDefault());
    ASSERT_TRUE(told);
    told("LPX info: 15-1 LPX V1");
    EXPECT_EQ(box.lblLpxVersion->text(), "LPX info: 15-1 LPX V1");
    driver.SetAttached(false);
    EXPECT_TRUE(ReadLpxInfoLine(adapter).isEmpty());
    EXPECT_TRUE(sim.Log().empty());
}

TEST_F(AboutBoxTest, OpeningTwiceShowsTheSameContents) {
    box.Configure(dir.path() + "/", QString(), kRecord, ask);
    box.FormShow();
    const QString first = box.mmoInfo->toPlainText();
    const QString lpx = box.lblLpxVersion->text();
    box.FormShow();
    EXPECT_EQ(box.mmoInfo->toPlainText(), first);
    EXPECT_EQ(box.lblLpxVersion->text(), lpx);
    // The site's file is read again at every opening.
    WriteAboutIni(dir, "[AboutInfo]\nLines=0\n");
    box.FormShow();
    EXPECT_TRUE(box.mmoInfo->toPlainText().contains("TALO Electronics AB"));
}

// An installed program's folder holds no about.ini: the site's file in /etc stands in, until one
// is put beside the program.
TEST_F(AboutBoxTest, TheSiteFolderStandsInForAFileBesideTheProgram) {
    QTemporaryDir program;
    box.Configure(program.path() + "/", dir.path() + "/", kRecord, ask);
    box.FormShow();
    EXPECT_TRUE(box.mmoInfo->toPlainText().contains("\nSite\n"));
    WriteAboutIni(program, "[AboutInfo]\nLines=1\nLine1=Program\n");
    box.FormShow();
    EXPECT_TRUE(box.mmoInfo->toPlainText().contains("\nProgram\n"));
    EXPECT_FALSE(box.mmoInfo->toPlainText().contains("Site"));
}

TEST_F(AboutBoxTest, RestoringTheMinimisedBoxIsNoNewShowing) {
    box.Configure(dir.path() + "/", QString(), kRecord, ask);
    box.show();
    const QPoint moved = box.pos() + QPoint(30, -20);
    box.move(moved);
    box.setWindowState(Qt::WindowMinimized);
    box.setWindowState(Qt::WindowNoState);
    EXPECT_EQ(box.pos(), moved);
    EXPECT_EQ(sim.Log(), (std::vector<std::string>{"v"}));  // the LPX was asked once
    box.hide();
}
