#include "report/reportblocks.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <vector>

#include "config/fieldtext.h"
#include "config/image.h"
#include "config/settingsmodel.h"
#include "config/settingstable.h"
#include "record/journal.h"
#include "report/lineoutcome.h"
#include "report/reportjournal.h"
#include "report/reportlines.h"
#include "resources/catalogue.h"

namespace {

constexpr int kShortHashDigits = 12;
constexpr int kMaxDifferencesNamed = 12;
constexpr int kDevicesNamed = 6;       // per configuration; more are counted
constexpr int kSitesNamed = 3;         // in the title block; more are counted
constexpr int kTitleValueLength = 70;  // characters: one line of the title block
const QString kNone = QStringLiteral("—");

const QList<ReportColumn>& JobColumns() {
    static const QList<ReportColumn> columns = {
        {QStringLiteral("Datum und Zeit"), 15}, {QStringLiteral("Vorgang"), 10},
        {QStringLiteral("Funkkennung"), 14},    {QStringLiteral("Raum"), 14},
        {QStringLiteral("Ergebnis"), 17},       {QStringLiteral("Firmware"), 10},
        {QStringLiteral("Konf."), 6},           {QStringLiteral("Datei"), 14},
    };
    return columns;
}

QString JobText(const QString& word) {
    if (word == QLatin1String(JournalJobWord(JournalJob::CodeChange)))
        return QStringLiteral("Funkkennung ändern");
    return word;
}

QString Codes(const QStringList& fields) {
    const QString before = fields.value(ColCodeBefore);
    const QString after = fields.value(ColCodeAfter);
    if (before == after || after.isEmpty()) return before;
    return (before.isEmpty() ? kNone : before) + QStringLiteral(" → ") + after;
}

// A file's name without the folders it lay in on the technician's computer.
QString FileName(const QString& path) {
    return path.isEmpty() ? QString() : QFileInfo(path).fileName();
}

QString OneLine(const QString& text) {
    const QString simple = text.simplified();
    return simple.size() <= kTitleValueLength ? simple
                                              : simple.left(kTitleValueLength - 1) + QChar(0x2026);
}

ReportBlock Text(ReportBlock::Kind kind, const QString& text) {
    ReportBlock block;
    block.kind = kind;
    block.text = text;
    return block;
}

ReportBlock TitlePairs(const ReportHeader& header, const ReportFacts& known) {
    ReportBlock block;
    block.kind = ReportBlock::Pairs;
    block.columns = {{QString(), 30}, {QString(), 70}};
    const auto add = [&block](const char* label, const QString& value) {
        block.rows << ReportRow{{QString::fromUtf8(label) + ':', OneLine(value)}};
    };
    add("Kunde / Objekt", !header.site.isEmpty()   ? header.site
                          : !known.sites.isEmpty() ? known.sites
                                                   : kNone);
    add("Techniker", header.technician);
    add("Erstellt am", header.made.toString(QStringLiteral("dd.MM.yyyy HH:mm")));
    add("Programm", header.program);
    add("Rechner", header.computer);
    if (!header.lpxInfo.isEmpty()) add("LPX", header.lpxInfo);
    if (!header.range.isEmpty()) add("Umfang", header.range);
    return block;
}

// A setting as the window shows it: its group's caption, label, value.
struct Setting {
    QString group;
    QString label;
    QString value;
};

// The settings that a write sends: a generation-1 device gets none of the generation-2 ones.
QList<Setting> SettingsSent(const QByteArray& bytes) {
    ImageBytes values{};
    std::copy(bytes.cbegin(), bytes.cend(), values.begin());
    ConfigImage image;
    FillFileImage(image, values, MarkFromFile);
    SettingsModel model;
    model.ShowFileImage(image, true);
    const bool generation1 = ImageGeneration(values[Addr::FirmwareVersion]) != 2;
    QList<Setting> settings;
    for (int i = 0; i < kFieldCount; ++i) {
        const Field field = Field(i);
        const SettingRow& setting = SettingOf(field);
        // What the device tells about itself is no setting, and the code a device got stands in
        // its job's row.
        if (setting.access != SettingAccess::Editable) continue;
        if (generation1 && setting.cells.generation == 2) continue;
        settings << Setting{::Text(InfoOf(setting.group).titleId), FieldLabel(field),
                            ValueText(model, field)};
    }
    return settings;
}

const QList<ReportColumn>& SettingColumns() {
    static const QList<ReportColumn> columns = {{QStringLiteral("Einstellung"), 70},
                                                {QStringLiteral("Wert"), 30}};
    return columns;
}

// The configurations in the order they were first written: little per configuration, as a
// series that gives each device its own code writes as many configurations as devices.
struct Written {
    QByteArray sha;  // raw bytes
    qint64 imageKey = -1;
    int count = 0;
    int fileName = -1;  // into the names
    QString devices;    // the first few codes, with their rooms
};

class Configurations {
  public:
    void Add(const QStringList& fields, qint64 key) {
        const QByteArray sha = QByteArray::fromHex(fields[ColSha256].toLatin1());
        auto found = index_.constFind(sha);
        if (found == index_.cend()) {
            found = index_.insert(sha, int(written_.size()));
            written_.push_back({sha, key, 0, NameIndex(FileName(fields.value(ColFileName))), {}});
        }
        Written& entry = written_[size_t(*found)];
        if (entry.count < kDevicesNamed) {
            const QString code = fields.value(ColCodeAfter);
            const QString room = fields.value(ColRoom);
            entry.devices += (entry.devices.isEmpty() ? QString() : QStringLiteral(", ")) + code +
                             (room.isEmpty() ? QString() : QStringLiteral(" (") + room + ')');
        }
        ++entry.count;
    }
    int NumberOf(const QString& sha) const {
        return index_.value(QByteArray::fromHex(sha.toLatin1()), -1) + 1;
    }
    const std::vector<Written>& All() const { return written_; }
    QString Name(const Written& entry) const { return names_.value(entry.fileName); }

  private:
    int NameIndex(const QString& name) {
        const auto known = nameIndex_.constFind(name);
        if (known != nameIndex_.cend()) return *known;
        names_ << name;
        return nameIndex_[name] = int(names_.size()) - 1;
    }
    QHash<QByteArray, int> index_;
    std::vector<Written> written_;
    QStringList names_;
    QHash<QString, int> nameIndex_;
};

// The attempts that never reached a device, counted by what stopped them.
class Attempts {
  public:
    void Add(const QStringList& fields) {
        ++count_;
        ++byReason_[ReasonText(OutcomeOfLine(fields))];
    }
    // "4 Versuche ohne Gerät: keine LPX (3), abgebrochen (1)"; empty for none.
    QString Line() const {
        if (count_ == 0) return QString();
        QStringList reasons;
        for (auto it = byReason_.cbegin(); it != byReason_.cend(); ++it)
            reasons << (byReason_.size() == 1 ? it.key()
                                              : QStringLiteral("%1 (%2)").arg(it.key()).arg(*it));
        return QStringLiteral("%1 %2 ohne Gerät: %3")
            .arg(count_)
            .arg(count_ == 1 ? QStringLiteral("Versuch") : QStringLiteral("Versuche"),
                 reasons.join(QStringLiteral(", ")));
    }

  private:
    qint64 count_ = 0;
    QMap<QString, qint64> byReason_;
};

class Teller {
  public:
    Teller(ReportLines& lines, ReportSink& sink, ReportFacts* found)
        : lines_(lines), sink_(sink), found_(found) {}

    bool JobTable(QString* error) {
        sink_.Block(Text(ReportBlock::Heading, QStringLiteral("Gerätevorgänge")));
        const bool read = lines_.Each(
            [this](const QStringList& fields, qint64 key) { Line(fields, key); }, error);
        if (!read) return false;
        if (tableOpen_)
            sink_.TableEnds();
        else
            sink_.Block(Text(ReportBlock::Paragraph,
                             QStringLiteral("Kein Vorgang hat ein Gerät erreicht.")));
        QString counts =
            QStringLiteral("%1 %2 an Geräten")
                .arg(deviceJobs_)
                .arg(deviceJobs_ == 1 ? QStringLiteral("Vorgang") : QStringLiteral("Vorgänge"));
        if (unfinished_ > 0)
            counts += QStringLiteral(", davon %1 nicht erfolgreich").arg(unfinished_);
        sink_.Block(Text(ReportBlock::Paragraph, counts + '.'));
        const QString attempts = attempts_.Line();
        if (!attempts.isEmpty()) sink_.Block(Text(ReportBlock::Paragraph, attempts + '.'));
        QStringList sites = sites_.values();
        std::sort(sites.begin(), sites.end());
        if (sites.size() > kSitesNamed)
            found_->sites = sites.mid(0, kSitesNamed).join(QStringLiteral("; ")) +
                            QStringLiteral(" und %1 weitere").arg(sites.size() - kSitesNamed);
        else
            found_->sites = sites.join(QStringLiteral("; "));
        return true;
    }

    void ConfigurationsWritten() {
        if (configurations_.All().empty()) return;
        sink_.Block(Text(ReportBlock::Heading, QStringLiteral("Geschriebene Konfigurationen")));
        QList<Setting> reference;  // of the first configuration shown in full
        QByteArray referenceKey;   // its settings' hash, without its code
        int referenceNumber = 0;
        int number = 0;
        for (const Written& written : configurations_.All()) {
            ++number;
            const QString name = configurations_.Name(written);
            const QString title = QStringLiteral("Konfiguration %1").arg(number) +
                                  (name.isEmpty() ? QString() : QStringLiteral(": ") + name);
            sink_.Block(Text(ReportBlock::Subheading, title));
            const QString sha = QString::fromLatin1(written.sha.toHex());
            QString devices =
                QStringLiteral("Geschrieben auf %1 %2: %3")
                    .arg(written.count)
                    .arg(written.count == 1 ? QStringLiteral("Gerät") : QStringLiteral("Geräte"),
                         written.devices);
            if (written.count > kDevicesNamed) devices += QStringLiteral(" …");
            sink_.Block(
                Text(ReportBlock::Paragraph, devices + QStringLiteral("\nSHA-256: ") + sha));
            const QByteArray image = lines_.ImageOf(written.imageKey);
            if (image.size() != kImageSize) {
                sink_.Block(Text(ReportBlock::Paragraph,
                                 QStringLiteral("Die Einstellungen dieser Konfiguration sind im "
                                                "Protokoll nicht gespeichert.")));
                continue;
            }
            if (QCryptographicHash::hash(image, QCryptographicHash::Sha256) != written.sha)
                sink_.Block(Text(ReportBlock::Paragraph,
                                 QStringLiteral("Einstellungen wie beim Prüfen vom ersten Gerät "
                                                "zurückgelesen.")));
            // A configuration that differs from the first one in a few settings only names
            // those: a thousand full tables would bury them. One that differs in its code alone
            // (a series with a code list) is known as such without decoding it.
            QByteArray settingsOnly = image;
            settingsOnly[Addr::RadioIdCode] = settingsOnly[Addr::RadioIdCode + 1] = 0;
            const QByteArray key =
                QCryptographicHash::hash(settingsOnly, QCryptographicHash::Sha256);
            if (!reference.isEmpty() && key == referenceKey) {
                sink_.Block(Text(ReportBlock::Paragraph,
                                 QStringLiteral("Alle Einstellungen wie bei Konfiguration %1.")
                                     .arg(referenceNumber)));
                continue;
            }
            const QList<Setting> settings = SettingsSent(image);
            if (reference.isEmpty()) {
                reference = settings;
                referenceNumber = number;
                referenceKey = key;
            }
            QList<ReportRow> differences;
            for (qsizetype i = 0; i < settings.size(); ++i)
                if (settings[i].value != reference.value(i).value ||
                    settings[i].label != reference.value(i).label)
                    differences << ReportRow{
                        {settings[i].group + ": " + settings[i].label, settings[i].value}};
            const QString continued = title + QStringLiteral(" (Fortsetzung)");
            if (number == referenceNumber || differences.size() > kMaxDifferencesNamed) {
                SettingsTable(settings, continued);
                continue;
            }
            sink_.Block(Text(ReportBlock::Paragraph,
                             differences.isEmpty()
                                 ? QStringLiteral("Alle Einstellungen wie bei Konfiguration %1.")
                                       .arg(referenceNumber)
                                 : QStringLiteral("Alle Einstellungen wie bei Konfiguration %1, "
                                                  "außer:")
                                       .arg(referenceNumber)));
            if (differences.isEmpty()) continue;
            sink_.TableStarts({SettingColumns(), continued, int(differences.size())});
            for (const ReportRow& row : differences) sink_.Row(row);
            sink_.TableEnds();
        }
    }

  private:
    void Line(const QStringList& fields, qint64 key) {
        const QString site = fields.value(ColSite);
        if (!site.isEmpty() && sites_.size() <= kSitesNamed) sites_.insert(site);
        // An attempt that never reached a device is counted, not listed.
        if (fields.value(ColCodeBefore).isEmpty() && fields.value(ColCodeAfter).isEmpty()) {
            attempts_.Add(fields);
            return;
        }
        ++deviceJobs_;
        const LineOutcome outcome = OutcomeOfLine(fields);
        if (!DeviceReceived(outcome) || outcome.result == LineResult::CheckFailed) ++unfinished_;
        int number = 0;
        if (WroteConfiguration(fields)) {
            configurations_.Add(fields, key);
            number = configurations_.NumberOf(fields[ColSha256]);
        }
        if (!tableOpen_) {
            sink_.TableStarts({JobColumns(), QStringLiteral("Gerätevorgänge (Fortsetzung)")});
            tableOpen_ = true;
        }
        sink_.Row(ReportRow{{LocalTimeText(fields.value(ColTime)), JobText(fields.value(ColJob)),
                             Codes(fields), fields.value(ColRoom), OutcomeText(outcome),
                             fields.value(ColFirmwareVersion),
                             number > 0 ? QString::number(number) : QString(),
                             FileName(fields.value(ColFileName))}});
    }

    void SettingsTable(const QList<Setting>& settings, const QString& continued) {
        sink_.TableStarts({SettingColumns(), continued});
        QString group;
        for (const Setting& setting : settings) {
            if (setting.group != group) {
                group = setting.group;
                sink_.Row(ReportRow{{group}, true});
            }
            sink_.Row(ReportRow{{setting.label, setting.value}});
        }
        sink_.TableEnds();
    }

    ReportLines& lines_;
    ReportSink& sink_;
    ReportFacts* found_;
    Configurations configurations_;
    Attempts attempts_;
    QSet<QString> sites_;
    qint64 deviceJobs_ = 0;
    qint64 unfinished_ = 0;
    bool tableOpen_ = false;
};

// Place, date and the lines to sign on, for the technician and the customer.
ReportBlock Closing(const ReportHeader& header) {
    ReportBlock block;
    block.kind = ReportBlock::Signatures;
    block.text = QStringLiteral("Ort, Datum:");
    block.columns = {{QStringLiteral("Techniker"), 45}, {QStringLiteral("Kunde"), 45}};
    block.rows << ReportRow{{QStringLiteral("Unterschrift Techniker"),
                             QStringLiteral("Unterschrift Kunde")}}
               << ReportRow{{header.technician, QStringLiteral("Name in Druckschrift")}};
    return block;
}

}  // namespace

QString LocalTimeText(const QString& journalTime) {
    // Most lines were written here, in the zone of today: their own date and time are local
    // already, and reading a time is what a long report's rows cost most after the fonts.
    static const QRegularExpression kStamp(QStringLiteral(
        "^(\\d{4})-(\\d{2})-(\\d{2})T(\\d{2}):(\\d{2}):\\d{2}([+-])(\\d{2}):(\\d{2})$"));
    const QRegularExpressionMatch parts = kStamp.match(journalTime);
    if (parts.hasMatch()) {
        const QDate day(parts.captured(1).toInt(), parts.captured(2).toInt(),
                        parts.captured(3).toInt());
        const QTime clock(parts.captured(4).toInt(), parts.captured(5).toInt());
        const int offset = (parts.captured(6) == QLatin1String("-") ? -60 : 60) *
                           (parts.captured(7).toInt() * 60 + parts.captured(8).toInt());
        const QDateTime local(day, clock);
        if (day.isValid() && clock.isValid() && local.offsetFromUtc() == offset)
            return QStringLiteral("%1.%2.%3 %4:%5")
                .arg(parts.capturedView(3), parts.capturedView(2), parts.capturedView(1),
                     parts.capturedView(4), parts.capturedView(5));
    }
    const QDateTime time = QDateTime::fromString(journalTime, Qt::ISODate);
    if (!time.isValid()) return journalTime;
    return time.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm"));
}

bool TellReport(const ReportHeader& header, const ReportFacts& known, ReportLines& lines,
                ReportSink& sink, ReportFacts* found, QString* error) {
    sink.Block(Text(ReportBlock::Title, QStringLiteral("Programmierprotokoll")));
    sink.Block(TitlePairs(header, known));
    Teller teller(lines, sink, found);
    if (!teller.JobTable(error)) return false;
    teller.ConfigurationsWritten();
    sink.Block(Text(ReportBlock::Heading, QStringLiteral("Bestätigung")));
    sink.Block(Closing(header));
    return true;
}
