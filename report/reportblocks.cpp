#include "report/reportblocks.h"

#include "config/fieldtext.h"
#include "config/image.h"
#include "config/settingsmodel.h"
#include "files/journal.h"
#include "report/lineoutcome.h"
#include "report/reportjournal.h"
#include "resources/catalogue.h"

namespace {

constexpr int kShortHashDigits = 12;
constexpr int kMaxDifferencesNamed = 12;

const QList<ReportColumn>& JobColumns() {
    static const QList<ReportColumn> columns = {
        {QStringLiteral("Datum und Zeit"), 17}, {QStringLiteral("Vorgang"), 10},
        {QStringLiteral("Funkkennung"), 13},    {QStringLiteral("Firmware"), 10},
        {QStringLiteral("Ergebnis"), 16},       {QStringLiteral("Datei"), 20},
        {QStringLiteral("SHA-256"), 14, true},
    };
    return columns;
}

QString Codes(const QStringList& fields) {
    const QString before = fields.value(ColCodeBefore);
    const QString after = fields.value(ColCodeAfter);
    if (before.isEmpty() && after.isEmpty()) return QStringLiteral("—");
    if (before == after || after.isEmpty()) return before;
    return (before.isEmpty() ? QStringLiteral("—") : before) + QStringLiteral(" → ") + after;
}

ReportBlock Text(ReportBlock::Kind kind, const QString& text) {
    ReportBlock block;
    block.kind = kind;
    block.text = text;
    return block;
}

ReportBlock HeaderPairs(const ReportHeader& header, int lines, int configurations) {
    ReportBlock block;
    block.kind = ReportBlock::Pairs;
    block.columns = {{QString(), 30}, {QString(), 70}};
    const auto add = [&block](const char* label, const QString& value) {
        block.rows << ReportRow{{QString::fromUtf8(label) + ':', value}};
    };
    add("Erstellt am", header.made.toString(QStringLiteral("dd.MM.yyyy HH:mm")));
    add("Techniker", header.technician);
    add("Rechner", header.computer);
    add("Programm", header.program);
    if (!header.lpxInfo.isEmpty()) add("LPX", header.lpxInfo);
    if (!header.range.isEmpty()) add("Umfang", header.range);
    add("Gerätevorgänge", QString::number(lines));
    add("Geschriebene Konfigurationen", QString::number(configurations));
    return block;
}

ReportBlock JobTable(const QList<QStringList>& lines) {
    ReportBlock block;
    block.kind = ReportBlock::Table;
    block.columns = JobColumns();
    block.rows.reserve(lines.size());
    for (const QStringList& fields : lines)
        block.rows << ReportRow{{LocalTimeText(fields.value(ColTime)), fields.value(ColJob),
                                 Codes(fields), fields.value(ColFirmwareVersion),
                                 OutcomeText(OutcomeOfLine(fields)), fields.value(ColFileName),
                                 fields.value(ColSha256).left(kShortHashDigits)}};
    return block;
}

// The devices that received one configuration: code, time and outcome.
ReportBlock DeviceTable(const QList<const QStringList*>& writes) {
    ReportBlock block;
    block.kind = ReportBlock::Table;
    block.columns = {{QStringLiteral("Erhalten von"), 25},
                     {QStringLiteral("Datum und Zeit"), 35},
                     {QStringLiteral("Ergebnis"), 40}};
    for (const QStringList* fields : writes)
        block.rows << ReportRow{{Codes(*fields), LocalTimeText(fields->value(ColTime)),
                                 OutcomeText(OutcomeOfLine(*fields))}};
    return block;
}

// Every setting of a configuration as the window shows it: its group's caption, label, value.
struct Setting {
    QString group;
    QString label;
    QString value;
};

QList<Setting> SettingsOf(const QByteArray& bytes) {
    ImageBytes values{};
    std::copy(bytes.cbegin(), bytes.cend(), values.begin());
    ConfigImage image;
    FillFileImage(image, values, MarkFromFile);
    SettingsModel model;
    model.ShowFileImage(image, true);
    QList<Setting> settings;
    for (int i = 0; i < kFieldCount; ++i) {
        const Field field = Field(i);
        settings << Setting{::Text(InfoOf(SettingOf(field).group).titleId), FieldLabel(field),
                            ValueText(model, field)};
    }
    return settings;
}

ReportBlock SettingsBlock() {
    ReportBlock block;
    block.kind = ReportBlock::Table;
    block.columns = {{QStringLiteral("Einstellung"), 70}, {QStringLiteral("Wert"), 30}};
    return block;
}

// All settings, under the captions of the window's boxes.
ReportBlock SettingsTable(const QList<Setting>& settings) {
    ReportBlock block = SettingsBlock();
    QString group;
    for (const Setting& setting : settings) {
        if (setting.group != group) {
            group = setting.group;
            block.rows << ReportRow{{group}, true};
        }
        block.rows << ReportRow{{setting.label, setting.value}};
    }
    return block;
}

// The settings that differ from those of an earlier configuration, each named with its group
// (a label such as "Nummer 3" stands in two groups).
ReportBlock DifferencesTable(const QList<Setting>& settings, const QList<Setting>& reference) {
    ReportBlock block = SettingsBlock();
    for (qsizetype i = 0; i < settings.size(); ++i)
        if (settings[i].value != reference.value(i).value)
            block.rows << ReportRow{
                {settings[i].group + ": " + settings[i].label, settings[i].value}};
    return block;
}

// The configurations in the order they were first written, each with its writes.
struct Written {
    QStringList order;
    QHash<QString, QList<const QStringList*>> writes;
};

Written WrittenConfigurations(const QList<QStringList>& lines) {
    Written written;
    for (const QStringList& fields : lines) {
        if (!WroteConfiguration(fields)) continue;
        const QString& sha = fields[ColSha256];
        if (!written.writes.contains(sha)) written.order << sha;
        written.writes[sha] << &fields;
    }
    return written;
}

void AddConfigurations(const Report& report, const Written& written, QList<ReportBlock>* blocks) {
    if (written.order.isEmpty()) return;
    *blocks << Text(ReportBlock::Heading, QStringLiteral("Geschriebene Konfigurationen"));
    QList<Setting> reference;  // of the first configuration shown in full
    int referenceNumber = 0;
    for (int number = 0; number < written.order.size(); ++number) {
        const QString& sha = written.order[number];
        const QList<const QStringList*>& writes = written.writes[sha];
        const QString file = writes.first()->value(ColFileName);
        *blocks << Text(ReportBlock::Subheading,
                        QStringLiteral("Konfiguration %1").arg(number + 1) +
                            (file.isEmpty() ? QString() : QStringLiteral(": ") + file))
                << Text(ReportBlock::Paragraph, QStringLiteral("SHA-256: ") + sha)
                << DeviceTable(writes);
        if (!report.images.contains(sha)) {
            *blocks << Text(ReportBlock::Paragraph,
                            QStringLiteral("Die Einstellungen dieser Konfiguration sind im "
                                           "Protokoll nicht gespeichert."));
            continue;
        }
        if (report.imagesReadBack.contains(sha))
            *blocks << Text(ReportBlock::Paragraph,
                            QStringLiteral("Einstellungen wie beim Prüfen vom ersten Gerät "
                                           "zurückgelesen (Zähler und Produktinformation sind "
                                           "die dieses Geräts)."));
        // A configuration that differs from the first one in a few settings only (a series
        // that handed out new codes) names those: a thousand full tables would bury them.
        const QList<Setting> settings = SettingsOf(report.images[sha]);
        if (reference.isEmpty()) {
            reference = settings;
            referenceNumber = number + 1;
        }
        const ReportBlock differences = DifferencesTable(settings, reference);
        if (number + 1 == referenceNumber || differences.rows.size() > kMaxDifferencesNamed) {
            *blocks << SettingsTable(settings);
            continue;
        }
        *blocks << Text(ReportBlock::Paragraph,
                        differences.rows.isEmpty()
                            ? QStringLiteral("Alle Einstellungen wie bei Konfiguration %1.")
                                  .arg(referenceNumber)
                            : QStringLiteral("Alle Einstellungen wie bei Konfiguration %1, "
                                             "außer:")
                                  .arg(referenceNumber));
        if (!differences.rows.isEmpty()) *blocks << differences;
    }
}

}  // namespace

QString LocalTimeText(const QString& journalTime) {
    const QDateTime time = QDateTime::fromString(journalTime, Qt::ISODate);
    if (!time.isValid()) return journalTime;
    return time.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}

QList<ReportBlock> ReportBlocks(const Report& report) {
    const Written written = WrittenConfigurations(report.lines);
    QList<ReportBlock> blocks = {
        Text(ReportBlock::Title, QStringLiteral("Programmierprotokoll")),
        HeaderPairs(report.header, int(report.lines.size()), int(written.order.size())),
        Text(ReportBlock::Heading, QStringLiteral("Gerätevorgänge")),
        JobTable(report.lines),
    };
    AddConfigurations(report, written, &blocks);
    return blocks;
}
