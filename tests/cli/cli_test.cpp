// korbi-cli end to end: its own process against files in a temporary folder and lpx-sim on a
// pseudo-terminal.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "cli_run.h"

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
