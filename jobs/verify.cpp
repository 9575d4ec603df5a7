// Verify after write: the device is read back in the same wait dialog, and every cell the write
// sent is compared with what came back.

#include "jobs/verify.h"

#include <QLocale>

#include "config/settingstable.h"
#include "jobs/devicejobs.h"
#include "jobs/jobrun.h"
#include "record/journal.h"
#include "resources/catalogue.h"

namespace {

constexpr int kCodeHigh = 0x20;
constexpr int kCodeLow = 0x21;

// The settings that a write sends, in the table's order: for a cell that holds several, the
// differing ones are named in that order.
std::vector<const SettingRow*> WrittenSettings() {
    std::vector<const SettingRow*> rows;
    for (const SettingRow& setting : Settings())
        if (setting.access == SettingAccess::Editable) rows.push_back(&setting);
    return rows;
}

bool Read(const ConfigImage& image, const SettingRow& row) {
    for (int a = row.cells.address; a < row.cells.address + row.cellCount(); ++a)
        if (image.cells[a].mark != MarkFromDevice) return false;
    return true;
}

// The field's value as its cells hold it, without the entry rules that the view applies.
QString HeldValue(const ConfigImage& image, const SettingRow& row) {
    const int value = image.cells[row.cells.address].value;
    switch (row.cells.held) {
        case Held::Tenths:
            return QString::number(value / 10) + QLocale().decimalPoint() +
                   QString::number(value % 10);
        case Held::Code: {
            const QString code = QString::fromStdString(
                CodeToText(uint8_t(value), image.cells[row.cells.address + 1].value));
            return code.isEmpty() ? QStringLiteral("(leer)") : code;
        }
        case Held::HighNibble:
            return QString::number(value >> 4);
        case Held::LowNibble:
            return QString::number(value & 0x0F);
        case Held::Bit:
            return (value >> row.cells.bit) & 1 ? QStringLiteral("angekreuzt")
                                                : QStringLiteral("leer");
        default:
            break;
    }
    return QString::number(value);
}

QString Line(const QString& label, const QString& written, const QString& read) {
    return FillText(Msg::VerifyDifference, {label, written, read});
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
    static const std::vector<const SettingRow*> rows = WrittenSettings();
    const QString notRead = QStringLiteral("nicht gelesen");
    QStringList lines;
    std::vector<bool> told(rows.size(), false);
    for (int address : cells) {
        bool covered = false;
        for (size_t i = 0; i < rows.size(); ++i) {
            const SettingRow& row = *rows[i];
            if (address < row.cells.address || address >= row.cells.address + row.cellCount())
                continue;
            const QString sent = HeldValue(written, row);
            const QString back = Read(read, row) ? HeldValue(read, row) : notRead;
            if (!told[i] && sent != back) {
                told[i] = true;
                const QString group = Text(InfoOf(row.group).titleId);
                lines << Line(group + QStringLiteral(" / ") + CaptionOf(row.field), sent, back);
            }
            covered = covered || told[i];
        }
        // A cell that holds no setting, or differs only in bits without one, is named by its
        // address.
        if (covered) continue;
        const bool readBack = read.cells[address].mark == MarkFromDevice;
        lines << Line(
            QString::asprintf("Adresse 0x%02X", address),
            QString::fromStdString(ByteToHex(written.cells[address].value)),
            readBack ? QString::fromStdString(ByteToHex(read.cells[address].value)) : notRead);
    }
    return lines;
}

namespace {

// The check was asked for and not done: why, as an error box or in the status line.
void CheckNotDone(JobHost& host, JobOutcome& outcome, const QString& cause, bool asError) {
    outcome.check = CheckState::NotDone;
    if (asError)
        ErrorBox(host.JobMessages(), Msg::VerifyNotDone, {cause});
    else
        host.ShowStatus(FillText(Msg::VerifyNotDone, {cause}));
}

}  // namespace

// The device is read back with the read plan of its generation under the code it carries now;
// every cell the write sent is compared with what came back.
void DeviceJobs::Check(Run& run, const ConfigImage& written, int generation, bool changeCode) {
    LpxSession& lpx = *run.lpx;
    run.outcome.check = CheckState::NotDone;
    LpxResult listed = lpx.RequestReadBlock("");
    for (const std::string& block : ReadPlan(generation == 1 || generation == 2 ? generation : 0))
        listed = FirstRefusal(listed, lpx.RequestReadBlock(block));
    NoteRefusal(lpx, listed, "m");
    if (lpx.StartJob(run.outcome.codeAfter.toStdString()) != LpxResultOk) {
        if (!ReportLineLost(run))
            CheckNotDone(host_, run.outcome, Text(Msg::LpxJobNotStarted), true);
        return;  // the session empties the list
    }
    const WaitOutcome outcome =
        AwaitPress(run, PollReadJob, {Msg::WriteTitle, Msg::WaitingForDevice, Msg::PressToVerify});
    ConfigImage read;
    switch (outcome) {
        case WaitDone:
            FetchRecords(run, read);
            break;
        case WaitAborted:
            CheckNotDone(host_, run.outcome, Text(Msg::VerifyAbortedCause), false);
            break;
        case WaitFailed:
            CheckNotDone(host_, run.outcome, Text(Msg::ReadFailed), true);
            break;
        case WaitTimedOut:
            CheckNotDone(host_, run.outcome, Text(Msg::WaitTimedOutText), true);
            break;
        default:
            CheckNotDone(host_, run.outcome, Text(Msg::LpxLineLost), false);
            break;
    }
    NoteRefusal(lpx, lpx.RequestReadBlock(""), "m");
    if (outcome != WaitDone || ReportLineLost(run)) return;

    run.outcome.readBack = read;
    const std::vector<WriteBlock> plan = WritePlan(generation, changeCode);
    run.outcome.checkedSha256 = CheckedImageSha256(written, read, plan, run.outcome.codeAfter);
    const std::vector<int> cells = DifferingCells(written, read, plan);
    if (cells.empty()) {
        run.outcome.check = CheckState::Passed;
        return Status(Msg::WriteVerified);
    }
    run.outcome.check = CheckState::Differs;
    run.outcome.differences = DescribeDifferences(written, read, cells);
    Fail(run, FailureKind::CheckDiffers, Msg::VerifyMismatch,
         {run.outcome.differences.join(QLatin1Char('\n'))});
}
