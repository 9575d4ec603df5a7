#include "app/journalmodel.h"

namespace {

constexpr int kPageLines = 200;

bool IsHashColumn(int column) {
    return column == ColSha256 || column == ColVerifySha256;
}

}  // namespace

JournalModel::JournalModel(JournalReader& reader, QObject* parent)
    : QAbstractTableModel(parent), reader_(reader), titles_(JournalHeader()) {}

bool JournalModel::Show(const QString& deviceCode, QString* error) {
    JournalFilter filter = filter_;
    filter.device = deviceCode;
    return Show(filter, error);
}

bool JournalModel::Show(const JournalFilter& filter, QString* error) {
    beginResetModel();
    filter_ = filter;
    lines_.clear();
    more_ = false;
    endResetModel();
    QString cause;
    matching_ = reader_.Count(filter_, &cause);
    if (matching_ < 0) {
        matching_ = 0;
        if (error) *error = cause;
        return false;
    }
    return FetchPage(error);
}

bool JournalModel::FetchPage(QString* error) {
    QString cause;
    const JournalReader::LineKey after =
        lines_.isEmpty() ? JournalReader::LineKey() : lines_.last().key;
    if (!reader_.SelectPage(filter_, after, kPageLines, &cause)) {
        more_ = false;
        if (error) *error = cause;
        return false;
    }
    QList<Line> page;
    Line line;
    while (reader_.Next(&line.fields)) {
        line.key = reader_.Key();
        line.hasImage = reader_.HasImage();
        page << line;
    }
    more_ = page.size() == kPageLines;
    if (page.isEmpty()) return true;
    beginInsertRows({}, static_cast<int>(lines_.size()),
                    static_cast<int>(lines_.size() + page.size() - 1));
    lines_ << page;
    endInsertRows();
    return true;
}

QString JournalModel::ShownTime(int row) const {
    return JournalShortTime(lines_.value(row).key.timeUtc);
}

int JournalModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

int JournalModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kJournalColumns;
}

QVariant JournalModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int column = index.column();
    const QString field = Field(index.row(), column);
    if (role == Qt::ToolTipRole)
        return IsHashColumn(column) || column == ColTime ? field : QVariant();
    if (role != Qt::DisplayRole) return {};
    if (column == ColTime) return ShownTime(index.row());
    if (IsHashColumn(column)) return ShortSha256(field);
    return field;
}

QVariant JournalModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    return titles_.value(section);
}

bool JournalModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && more_;
}

void JournalModel::fetchMore(const QModelIndex& parent) {
    if (!parent.isValid()) FetchPage(nullptr);
}
