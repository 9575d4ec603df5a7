// korbi-cli ports: whether the LPX is plugged in and usable, for a terminal: the converters
// found, their device nodes and access, the udev rule and its stable name. Opens no port.

#include "cli/context.h"
#include "cli/options.h"
#include "link/lpxadapter.h"
#include "link/lpxports.h"
#include "resources/catalogue.h"

int RunPorts(const CliContext&) {
    const std::string stableLink = "/dev/korbi-lpx";
    const LpxPortsStatus status = FindLpxPorts(kLpxDescription, stableLink);
    QString report;
    if (status.ports.empty())
        report += FillText(Msg::PortsNoConverter, {QString::fromLatin1(kLpxDescription)}) + '\n';
    for (const LpxPort& port : status.ports)
        report += FillText(port.accessible ? Msg::PortsConverterUsable : Msg::PortsConverterDenied,
                           {QString::fromStdString(port.devnode)}) +
                  '\n';
    const std::string rule = InstalledLpxRule();
    report += (rule.empty() ? Text(Msg::PortsRuleMissing)
                            : FillText(Msg::PortsRuleInstalled, {QString::fromStdString(rule)})) +
              '\n';
    report += FillText(status.stableLink ? Msg::PortsLinkPresent : Msg::PortsLinkMissing,
                       {QString::fromStdString(stableLink)}) +
              '\n';
    QString remedy;
    report += LpxStatusText(status, &remedy) + '\n';
    if (!remedy.isEmpty()) report += remedy + '\n';
    Print(report);
    return status.presence == LpxPresence::Connected ? ExitDone : ExitNoLpx;
}
