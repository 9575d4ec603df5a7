// The korbi-cli commands that talk to the LPX.

#include "cli/context.h"
#include "link/driverfactory.h"
#include "link/lpxadapter.h"
#include "resources/catalogue.h"
#include "resources/msg.h"

int RunInfo(const CliContext& context) {
    const std::unique_ptr<SerialDriver> driver =
        CreateSerialDriver(DriverArguments(context.options));
    LpxAdapter adapter(driver.get());
    std::string info;
    const bool answered = adapter.Open() == 0 && adapter.QueryLpxInfo(info) == LpxResultOk;
    adapter.Close();
    if (!answered) {
        PrintError(Text(Msg::LpxNotReachable) + '\n');
        return ExitNoLpx;
    }
    Print(QString::fromLatin1(info.c_str()) + '\n');
    return ExitDone;
}
