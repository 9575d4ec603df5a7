#include "report/reportjournal.h"

#include <QCryptographicHash>

#include "config/image.h"
#include "record/journal.h"
#include "report/lineoutcome.h"

namespace {

QString Sha256Of(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

struct ImageCandidate {
    QString sha256;
    qint64 id;
    bool readBack;  // the line keeps the bytes read back by its check, not those sent
};

}  // namespace

bool WroteConfiguration(const QStringList& fields) {
    return fields.value(ColJob) == QLatin1String(JournalJobWord(JournalJob::Write)) &&
           DeviceReceived(OutcomeOfLine(fields)) && !fields.value(ColSha256).isEmpty();
}

bool EachReportLine(JournalReader& reader, const ReportRange& range,
                    const std::function<void(const QStringList&, qint64)>& line, QString* error) {
    // The journal's own filter: a device given by part of its code reads as in the listing.
    JournalFilter filter;
    filter.device = range.device;
    filter.since = range.since;
    filter.site = range.site;
    if (range.until.isValid()) filter.until = range.until.addSecs(-1);
    if (!reader.Select(filter, error)) return false;
    const qint64 until = range.until.isValid() ? range.until.toSecsSinceEpoch() : 0;
    QStringList fields;
    while (reader.Next(&fields)) {
        const JournalReader::LineKey key = reader.Key();
        // Oldest first: the first line past the end ends the range.
        if (until != 0 && key.timeUtc >= until) break;
        if (range.keep && !range.keep(fields)) continue;
        line(fields, key.id);
    }
    // A listing cut short must not make a report that looks whole.
    return !reader.Failed(error);
}

bool ReadReportLines(JournalReader& reader, const ReportRange& range, Report* report,
                     QString* error) {
    QList<ImageCandidate> candidates;
    const auto keep = [&](const QStringList& fields, qint64 id) {
        if (WroteConfiguration(fields) && reader.HasImage()) {
            const LineResult result = OutcomeOfLine(fields).result;
            candidates << ImageCandidate{
                fields[ColSha256], id,
                result == LineResult::Checked || result == LineResult::CheckFailed};
        }
        report->lines << fields;
    };
    if (!EachReportLine(reader, range, keep, error)) return false;
    // One image per configuration, asked once the listing is done. A checked write keeps the
    // bytes read back, which hold the device's own counters beside the configuration sent: its
    // image stands in only until a line with exactly the bytes sent turns up.
    QSet<QString> exact;
    for (const ImageCandidate& candidate : candidates) {
        if (exact.contains(candidate.sha256)) continue;
        if (candidate.readBack && report->images.contains(candidate.sha256)) continue;
        const QByteArray image = reader.ImageOfLine(candidate.id);
        if (image.size() != kImageSize) continue;
        if (Sha256Of(image) == candidate.sha256) {
            exact.insert(candidate.sha256);
            report->imagesReadBack.remove(candidate.sha256);
        } else if (report->images.contains(candidate.sha256)) {
            continue;
        } else {
            report->imagesReadBack.insert(candidate.sha256);
        }
        report->images.insert(candidate.sha256, image);
    }
    return true;
}

QByteArray ReportCsv(const QList<QStringList>& lines) {
    QByteArray csv = CsvRecord(JournalHeader(), true);
    for (const QStringList& line : lines) csv += CsvRecord(line, true);
    return csv;
}
