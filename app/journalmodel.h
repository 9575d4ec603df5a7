#pragma once
// The journal as a table model that pages through the record: newest first, one page of lines
// fetched whenever the view scrolls to the end of what it holds. Each page is one indexed query
// that goes on from the last line shown, on SQLite and on a server alike, so a record of any
// size opens at once and only what was looked at is kept. The queries run on the journal's
// worker thread: the table stays usable while a server is slow to answer. Times are shown in
// local time, the hashes by their first digits (the whole hash is the tooltip).

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>
#include <atomic>

#include "record/journalstore.h"

class JournalWorker;

class JournalModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // worker: the journal's worker, which must end before the model does (its tasks look at the
    // model's count of Shows).
    explicit JournalModel(JournalWorker& worker, QObject* parent = nullptr);
    // Starts again with the lines the filter lets through: counts them and fetches the first
    // page; Loaded says when that has ended.
    void Show(const JournalFilter& filter);
    const JournalFilter& Filter() const { return filter_; }
    // Whether lines are being fetched.
    bool Loading() const { return loading_; }
    // How many lines the filter lets through, fetched or not.
    qint64 MatchingLines() const { return matching_; }
    // The database id of a row's line, and whether the line holds a configuration.
    qint64 LineId(int row) const { return lines_.value(row).key.id; }
    bool HasImage(int row) const { return lines_.value(row).hasImage; }
    // A row's field as stored (the whole hash, the time with its offset).
    QString Field(int row, int column) const { return lines_.value(row).fields.value(column); }
    // A row's time for people.
    QString ShownTime(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    struct Line {
        QStringList fields;
        JournalReader::LineKey key;
        bool hasImage = false;
    };

  signals:
    // A Show or a further page has ended: error is empty, or the German text of the failure.
    void Loaded(const QString& error);

  private:
    // Fetches the page after the last line held; with count, the number of matching lines first.
    void Fetch(bool count);
    JournalWorker& worker_;
    JournalFilter filter_;
    QList<Line> lines_;
    bool more_ = false;
    bool loading_ = false;
    // Counts the Shows: a page for an earlier filter is not fetched when its turn comes after a
    // newer Show (the worker's thread reads this), and not taken when it arrives after one.
    std::atomic<quint64> generation_{0};
    qint64 matching_ = 0;
    QStringList titles_;
};
