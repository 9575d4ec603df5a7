#include "app/journalmodel.h"

#include "record/journal.h"
#include "record/journalworker.h"

namespace {

constexpr int kPageLines = 200;

bool IsHashColumn(int column) {
    return column == ColSha256 || column == ColVerifySha256;
}

}  // namespace

JournalModel::JournalModel(JournalWorker& worker, QObject* parent)
    : QAbstractTableModel(parent), worker_(worker), titles_(JournalHeader()) {}

void JournalModel::Show(const JournalFilter& filter) {
    beginResetModel();
    filter_ = filter;
    lines_.clear();
    more_ = false;
    matching_ = 0;
    ++generation_;
    endResetModel();
    Fetch(true);
}

void JournalModel::Fetch(bool count) {
    loading_ = true;
    const JournalFilter filter = filter_;
    const JournalReader::LineKey after =
        lines_.isEmpty() ? JournalReader::LineKey() : lines_.last().key;
    const quint64 generation = generation_;
    worker_.Post([this, filter, after, count, generation](JournalWorker::Session& session) {
        // On the worker's thread: only the values captured, the reader and what is made here.
        if (generation != generation_) return std::function<void()>();
        QString error;
        qint64 matching = -1;
        QList<Line> page;
        JournalReader* reader = session.Reader(&error);
        if (reader && count) matching = reader->Count(filter, &error);
        if (reader && (!count || matching >= 0) &&
            reader->SelectPage(filter, after, kPageLines, &error)) {
            Line line;
            while (reader->Next(&line.fields)) {
                line.key = reader->Key();
                line.hasImage = reader->HasImage();
                page << line;
            }
            reader->Failed(&error);
        }
        return std::function<void()>([this, generation, page, matching, error] {
            if (generation != generation_) return;  // the filter changed meanwhile
            loading_ = false;
            if (matching >= 0) matching_ = matching;
            more_ = error.isEmpty() && page.size() == kPageLines;
            if (!page.isEmpty()) {
                beginInsertRows({}, static_cast<int>(lines_.size()),
                                static_cast<int>(lines_.size() + page.size() - 1));
                lines_ << page;
                endInsertRows();
            }
            emit Loaded(error);
        });
    });
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
    const QString field = WithFormatCharactersEscaped(Field(index.row(), column));
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
    return !parent.isValid() && more_ && !loading_;
}

void JournalModel::fetchMore(const QModelIndex& parent) {
    if (canFetchMore(parent)) Fetch(false);
}
