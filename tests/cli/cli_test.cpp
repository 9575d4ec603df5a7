// korbi-cli end to end: its own process against files in a temporary folder and lpx-sim on a
// pseudo-terminal.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "cli_run.h"
#include "config/settingsfields.h"
#include "resources/catalogue.h"
#include "resources/msg.h"
#include "started_window.h"

namespace {

class CliTest : public ::testing::Test {
  protected:
    CliRun Run(const QStringList& arguments) { return RunCli(home.path(), arguments); }
    QString Path(const QString& name) const { return home.filePath(name); }
    QTemporaryDir home;
};

// Wrong calls, missing files and a missing LPX end with their own statuses.
TEST_F(CliTest, ExitStatusesOfCallsThatCannotWork) {
    const struct {
        QStringList arguments;
        int status;
    } rows[] = {
        {{"--version"}, 0},        {{"frobnicate"}, 2},
        {{"journal", "extra"}, 2}, {{"journal", "--since=gestern"}, 2},
        {{"info", "--json"}, 2},   {{"info", "--port=/nonexistent/tty"}, 3},
    };
    for (const auto& row : rows) {
        const CliRun run = Run(row.arguments);
        EXPECT_EQ(run.status, row.status) << row.arguments.join(' ').toStdString() << "\n"
                                          << run.err.toStdString();
    }
}

}  // namespace

// show --json holds what the window shows after File > Open of the same file, control by
// control, and the messages the opening raised, in order; diff tells equal files from others.
TEST(CliSettings, ShowIsTheWindowsViewAndDiffComparesIt) {
    Machine machine;
    machine.Ship();
    std::unique_ptr<TfrmMain> window = machine.Start();
    const QString home = machine.root.path() + "/home";

    QByteArray codes = TemplateWith(0x44, 0xFF);  // door code 3 FFFF: the code rule warns
    codes[0x45] = char(0xFF);
    codes[0x30] = codes[0x3D] = char(0x10);  // zone C in both groups ends up restricted only
    QByteArray foreign = TemplateWith(0x2E, 0x05);
    foreign[0x3C] = char(0xFF);  // press time above its bound
    foreign[0x36] = char(0xFC);  // activation delay 25.2 s
    const struct {
        const char* name;
        QByteArray bytes;
    } images[] = {
        {"codes.Korbi", codes},
        {"v1.Korbi", TemplateWith(0x3A, 0x07, 1)},
        {"foreign.Korbi", foreign},
    };
    for (const auto& image : images) {
        const QString path = home + "/" + image.name;
        WriteBytes(path, image.bytes);
        machine.prompts.Clear();
        machine.prompts.paths = {path};
        window->mnuFileOpenClick();
        const QMap<QString, QString> view = ViewOf(*window);

        const CliRun run = RunCli(home, {"show", path, "--json"});
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        const QJsonObject json = QJsonDocument::fromJson(run.out.toUtf8()).object();
        ASSERT_EQ(json.size(), kFieldCount + 1) << image.name;
        for (auto it = json.begin(); it != json.end(); ++it) {
            if (it.key() == "messages") continue;
            ASSERT_TRUE(view.contains(it.key())) << it.key().toStdString();
            const QString shown = it.value().isBool() ? (it.value().toBool() ? "ticked" : "-")
                                                      : it.value().toString();
            EXPECT_EQ(shown, view[it.key()]) << image.name << " " << it.key().toStdString();
        }
        QList<int> messages;
        for (const QJsonValue id : json["messages"].toArray()) messages << id.toInt();
        EXPECT_EQ(messages, machine.prompts.MessageIds()) << image.name;
    }

    const struct {
        const char* a;
        const char* b;
        int status;
    } diffs[] = {
        {"codes.Korbi", "codes.Korbi", 0},
        {"codes.Korbi", "v1.Korbi", 1},
        {"codes.Korbi", "missing.Korbi", 2},
    };
    for (const auto& diff : diffs) {
        const CliRun run = RunCli(home, {"diff", home + "/" + diff.a, home + "/" + diff.b});
        EXPECT_EQ(run.status, diff.status) << diff.a << " " << diff.b;
        EXPECT_EQ(run.out.isEmpty(), diff.status != 1) << run.out.toStdString();
    }

    // set goes through the entry rules (19 is too many and becomes 15, with the rule's message)
    // and saves in place; a field the window keeps disabled is refused and nothing is saved.
    const QString codesPath = home + "/codes.Korbi";
    CliRun run = RunCli(home, {"set", codesPath, "edtNoShortTx=19", "cbConfig_D5=true"});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.err.contains(Text(Msg::RangeNoShortTx))) << run.err.toStdString();
    const QByteArray saved = ReadBytes(codesPath);
    EXPECT_EQ(uint8_t(saved[0x33]), 0xF3);
    EXPECT_EQ(uint8_t(saved[0x2D]) & 0x20, 0x20);
    run = RunCli(home, {"set", codesPath, "edtNoShortTx=2", "edtMissedAck=7"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(ReadBytes(codesPath), saved);
}
