// Verify after write: the device is read back in the same wait dialog, and every cell the write
// sent is compared with what came back.

#include "link/verify.h"

#include "config/settingsmodel.h"
#include "files/journal.h"
#include "link/devicejobs.h"
#include "resources/catalogue.h"

namespace {

constexpr int kCodeHigh = 0x20;
constexpr int kCodeLow = 0x21;

QString ShownValue(const SettingsModel& model, Field field) {
    if (InfoOf(field).kind == FieldKind::Tick)
        return model.Ticked(field) ? QStringLiteral("angekreuzt") : QStringLiteral("leer");
    const QString text = model.Text(field);
    return text.isEmpty() ? QStringLiteral("(leer)") : text;
}

}  // namespace

std::vector<int> DifferingCells(const ConfigImage& written, const ConfigImage& read,
                                const std::vector<WriteBlock>& plan) {
    std::vector<int> cells;
    for (const WriteBlock& block : plan) {
        for (int address = block.start; address < block.start + block.count; ++address) {
            if (address == kCodeHigh || address == kCodeLow) continue;
            const ImageCell& back = read.cells[address];
            if (back.mark != MarkFromDevice || back.value != written.cells[address].value)
                cells.push_back(address);
        }
    }
    return cells;
}

QStringList DescribeDifferences(const ConfigImage& written, const ConfigImage& read,
                                const std::vector<int>& cells) {
    // Both images are shown as the view would show them; they differ only in the cells named,
    // so the settings that differ are those the cells belong to.
    ConfigImage expected = read;
    for (int address : cells) {
        expected.cells[address].value = written.cells[address].value;
        expected.cells[address].mark = MarkFromDevice;
    }
    SettingsModel sent, back;
    sent.EnableGeneration2Controls(expected);
    sent.DecodeConfigImage(expected, MarkFromDevice);
    back.EnableGeneration2Controls(read);
    back.DecodeConfigImage(read, MarkFromDevice);
    QStringList lines;
    for (int i = 0; i < kFieldCount; ++i) {
        const Field field = Field(i);
        const QString before = ShownValue(sent, field);
        const QString after = ShownValue(back, field);
        if (before == after) continue;
        const QString group = Text(InfoOf(InfoOf(field).group).titleId);
        lines << FillText(Msg::VerifyDifference,
                          {group + QStringLiteral(" / ") + CaptionOf(field), before, after});
    }
    if (lines.isEmpty()) {
        for (int address : cells)
            lines << FillText(Msg::VerifyDifference,
                              {QString::asprintf("Adresse 0x%02X", address),
                               QString::fromStdString(ByteToHex(written.cells[address].value)),
                               read.cells[address].mark == MarkFromDevice
                                   ? QString::fromStdString(ByteToHex(read.cells[address].value))
                                   : QStringLiteral("?")});
    }
    return lines;
}

void DeviceJobs::VerifyNotDone(const QString& cause, bool asError) {
    outcome_.check = CheckState::NotDone;
    if (asError) {
        ErrorBox(host_.JobMessages(), Msg::VerifyNotDone, {cause});
    } else {
        host_.ShowStatus(FillText(Msg::VerifyNotDone, {cause}));
    }
}

void DeviceJobs::VerifySteps(int generation, bool changeCode, const QString& code) {
    ClearImage(verifyImage);
    outcome_.check = CheckState::NotDone;
    const std::vector<std::string> plan =
        ReadPlan(generation == 1 || generation == 2 ? generation : 0);
    adapter_.RequestReadBlock("");
    for (const std::string& block : plan) adapter_.RequestReadBlock(block);
    if (adapter_.StartJob(code.toStdString()) != LpxResultOk) {
        if (!ReportLineLost()) VerifyNotDone(Text(Msg::LpxJobNotStarted), true);
        adapter_.RequestReadBlock("");
        return;
    }
    const int outcome =
        RunWait(PollReadJob, {Msg::WriteTitle, Msg::WaitingForDevice, Msg::PressToVerify}, true);
    if (outcome != WaitDone) pollTag = PollNone;
    StopPolling(false);
    switch (outcome) {
        case WaitDone:
            FetchRecords(verifyImage);
            break;
        case WaitAborted:
            VerifyNotDone(Text(Msg::VerifyAbortedCause), false);
            break;
        case WaitFailed:
            VerifyNotDone(Text(Msg::ReadFailed), true);
            break;
        case WaitTimedOut:
            VerifyNotDone(Text(Msg::WaitTimedOutText), true);
            break;
        default:
            VerifyNotDone(Text(Msg::LpxLineLost), false);
            break;
    }
    adapter_.RequestReadBlock("");
    if (outcome != WaitDone) return;
    if (ReportLineLost()) return;
    outcome_.readBack = verifyImage;
    const std::vector<int> cells =
        DifferingCells(writeImage, verifyImage, WritePlan(generation, changeCode));
    if (cells.empty()) {
        outcome_.check = CheckState::Passed;
        Status(Msg::WriteVerified);
        return;
    }
    outcome_.check = CheckState::Differs;
    outcome_.differences = DescribeDifferences(writeImage, verifyImage, cells);
    Fail(FailureKind::CheckDiffers, Msg::VerifyMismatch,
         {outcome_.differences.join(QLatin1Char('\n'))});
}
