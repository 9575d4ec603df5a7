// Verify after write: the device is read back in the same wait dialog, and every cell the write
// sent is compared with what came back.

#include "link/verify.h"

#include <QLocale>

#include "config/settingstable.h"
#include "files/journal.h"
#include "link/devicejobs.h"
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

void DeviceJobs::CheckNotDone(const QString& cause, bool asError) {
    outcome_.check = CheckState::NotDone;
    if (asError) {
        ErrorBox(host_.JobMessages(), Msg::VerifyNotDone, {cause});
    } else {
        host_.ShowStatus(FillText(Msg::VerifyNotDone, {cause}));
    }
}

void DeviceJobs::CheckBegins() {
    const int generation = job_->generation;
    ClearImage(job_->checkImage);
    outcome_.check = CheckState::NotDone;
    const std::vector<std::string> plan =
        ReadPlan(generation == 1 || generation == 2 ? generation : 0);
    adapter_.RequestReadBlock("");
    for (const std::string& block : plan) adapter_.RequestReadBlock(block);
    if (adapter_.StartJob(job_->codeAfter.toStdString()) != LpxResultOk) {
        if (!ReportLineLost()) CheckNotDone(Text(Msg::LpxJobNotStarted), true);
        adapter_.RequestReadBlock("");
        session_->Close();
        Finish();
        return;
    }
    AwaitPress(JobStep::Check, PollReadJob,
               {Msg::WriteTitle, Msg::WaitingForDevice, Msg::PressToVerify});
}

void DeviceJobs::CheckAnswered(int outcome) {
    switch (outcome) {
        case WaitDone:
            FetchRecords(job_->checkImage);
            break;
        case WaitAborted:
            CheckNotDone(Text(Msg::VerifyAbortedCause), false);
            break;
        case WaitFailed:
            CheckNotDone(Text(Msg::ReadFailed), true);
            break;
        case WaitTimedOut:
            CheckNotDone(Text(Msg::WaitTimedOutText), true);
            break;
        default:
            CheckNotDone(Text(Msg::LpxLineLost), false);
            break;
    }
    adapter_.RequestReadBlock("");
    if (outcome == WaitDone && !ReportLineLost()) Compare();
    session_->Close();
    Finish();
}

void DeviceJobs::Compare() {
    const ConfigImage& written = job_->writeImage;
    const ConfigImage& read = job_->checkImage;
    outcome_.readBack = read;
    const std::vector<WriteBlock> plan = WritePlan(job_->generation, job_->changeCode);
    outcome_.checkedSha256 = CheckedImageSha256(written, read, plan, job_->codeAfter);
    const std::vector<int> cells = DifferingCells(written, read, plan);
    if (cells.empty()) {
        outcome_.check = CheckState::Passed;
        Status(Msg::WriteVerified);
        return;
    }
    outcome_.check = CheckState::Differs;
    outcome_.differences = DescribeDifferences(written, read, cells);
    Fail(FailureKind::CheckDiffers, Msg::VerifyMismatch,
         {outcome_.differences.join(QLatin1Char('\n'))});
}
