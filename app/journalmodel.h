#pragma once
// The journal as a table model that pages through the record: newest first, one page of lines
// fetched whenever the view scrolls to the end of what it holds. Each page is one indexed query
// that goes on from the last line shown, on SQLite and on a server alike, so a record of any
// size opens at once and only what was looked at is kept. Times are shown in local time, the
// hashes by their first digits (the whole hash is the tooltip).

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

#include "files/journalstore.h"

class JournalModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // reader: an opened journal that outlives the model.
    explicit JournalModel(JournalReader& reader, QObject* parent = nullptr);
    // Starts again with the lines the filter lets through and fetches the first page; false
    // with a German error.
    bool Show(const JournalFilter& filter, QString* error);
    bool Show(const QString& deviceCode, QString* error);
    const JournalFilter& Filter() const { return filter_; }
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

  private:
    struct Line {
        QStringList fields;
        JournalReader::LineKey key;
        bool hasImage = false;
    };
    bool FetchPage(QString* error);
    JournalReader& reader_;
    JournalFilter filter_;
    QList<Line> lines_;
    bool more_ = false;
    qint64 matching_ = 0;
    QStringList titles_;
};
