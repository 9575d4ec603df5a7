// Verify after write: the device is read back in the same wait dialog, and every cell the write
// sent is compared with what came back.

#include "jobs/verify.h"

#include <QLocale>

#include "config/settingsfields.h"
#include "files/journal.h"
#include "jobs/devicejobs.h"
#include "jobs/jobrun.h"
#include "resources/catalogue.h"

namespace {

constexpr int kCodeHigh = 0x20;
constexpr int kCodeLow = 0x21;

// How a field is held in its cells.
enum class Held { Number, Tenths, Code, HighNibble, LowNibble, Bit };

struct CellField {
    int address;
    Field field;
    Held held;
    int bit = 0;  // for Held::Bit
};

// Every field that a write sends, by the cells that hold it.
std::vector<CellField> FieldsByCell() {
    std::vector<CellField> rows = {
        {Addr::RadioTestAlarmInterval, Field::edtRadioTestAlarmInterval, Held::Number},
        {Addr::MissedAckBeforeSleep, Field::edtMissedAck, Held::Number},
        {Addr::RadioTestAlarmActive, Field::cbRadioTestAlarmActive, Held::Bit, 0},
        {Addr::BatteryTestInterval, Field::edtBatteryTestInterval, Held::Number},
        {Addr::DementiaBlockTime, Field::edtDementiaBlockTime, Held::Number},
        {Addr::TxCounts, Field::edtNoShortTx, Held::HighNibble},
        {Addr::TxCounts, Field::edtNoLongTx, Held::LowNibble},
        {Addr::RfidInactivity, Field::edtRfidInactivity, Held::Number},
        {Addr::RadioInactivity, Field::edtRadioInactivity, Held::Number},
        {Addr::ActivationDelay, Field::edtButtonActivationDelay, Held::Tenths},
        {Addr::OutOfFieldTime, Field::edtOutOfFieldTimeToRetransmit, Held::Number},
        {Addr::PressTime, Field::edtLongDoubleTriplePressTime, Held::Tenths},
    };
    const Field flags1[] = {Field::cbConfig_D0, Field::cbConfig_D1, Field::cbConfig_D2,
                            Field::cbConfig_D3, Field::cbConfig_D4, Field::cbConfig_D5,
                            Field::cbConfig_D6};
    for (int bit = 0; bit < 7; ++bit)
        rows.push_back({Addr::ConfigFlags1, flags1[bit], Held::Bit, bit});
    const Field flags2[] = {Field::cbConfig2_D0, Field::cbConfig2_D1, Field::cbConfig2_D2,
                            Field::cbConfig2_D3};
    for (int bit = 0; bit < 4; ++bit)
        rows.push_back({Addr::ConfigFlags2, flags2[bit], Held::Bit, bit});
    for (const bool restricted : {false, true}) {
        const int codes = restricted ? Addr::DoorCodesRestricted : Addr::DoorCodes;
        for (int number = 1; number <= kCodesPerGroup; ++number)
            rows.push_back({codes + 2 * (number - 1), DoorCode(number, restricted), Held::Code});
        const int low = restricted ? Addr::ZonesLowRestricted : Addr::ZonesLow;
        const int high = restricted ? Addr::ZonesHighRestricted : Addr::ZonesHigh;
        for (int zone = 0; zone < kZonesPerGroup; ++zone)
            rows.push_back({zone < 8 ? low : high, Zone(zone, restricted), Held::Bit, zone % 8});
    }
    return rows;
}

int Size(const CellField& row) {
    return row.held == Held::Code ? 2 : 1;
}

bool Read(const ConfigImage& image, const CellField& row) {
    for (int a = row.address; a < row.address + Size(row); ++a)
        if (image.cells[a].mark != MarkFromDevice) return false;
    return true;
}

// The field's value as its cells hold it, without the entry rules that the view applies.
QString HeldValue(const ConfigImage& image, const CellField& row) {
    const int value = image.cells[row.address].value;
    switch (row.held) {
        case Held::Number:
            return QString::number(value);
        case Held::Tenths:
            return QString::number(value / 10) + QLocale().decimalPoint() +
                   QString::number(value % 10);
        case Held::Code: {
            const QString code = QString::fromStdString(
                CodeToText(uint8_t(value), image.cells[row.address + 1].value));
            return code.isEmpty() ? QStringLiteral("(leer)") : code;
        }
        case Held::HighNibble:
            return QString::number(value >> 4);
        case Held::LowNibble:
            return QString::number(value & 0x0F);
        case Held::Bit:
            break;
    }
    return (value >> row.bit) & 1 ? QStringLiteral("angekreuzt") : QStringLiteral("leer");
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
    static const std::vector<CellField> rows = FieldsByCell();
    const QString notRead = QStringLiteral("nicht gelesen");
    QStringList lines;
    std::vector<bool> told(rows.size(), false);
    for (int address : cells) {
        bool covered = false;
        for (size_t i = 0; i < rows.size(); ++i) {
            const CellField& row = rows[i];
            if (address < row.address || address >= row.address + Size(row)) continue;
            const QString sent = HeldValue(written, row);
            const QString back = Read(read, row) ? HeldValue(read, row) : notRead;
            if (!told[i] && sent != back) {
                told[i] = true;
                const QString group = Text(InfoOf(InfoOf(row.field).group).titleId);
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
    const std::vector<int> cells = DifferingCells(written, read, WritePlan(generation, changeCode));
    if (cells.empty()) {
        run.outcome.check = CheckState::Passed;
        return Status(Msg::WriteVerified);
    }
    run.outcome.check = CheckState::Differs;
    run.outcome.differences = DescribeDifferences(written, read, cells);
    Fail(run, FailureKind::CheckDiffers, Msg::VerifyMismatch,
         {run.outcome.differences.join(QLatin1Char('\n'))});
}
