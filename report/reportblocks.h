#pragma once
// What the report says, in order, without geometry: the title block, the table of device jobs,
// the attempts that reached no device, each configuration written with what the write sends,
// and the closing block with the signatures. It is told to a sink piece by piece while the
// lines stream past, so the report never holds more than one configuration's settings; the
// pages (reportpages.h) lay the pieces out.

#include <QList>
#include <QString>
#include <QStringList>

#include "report/report.h"

class ReportLines;

struct ReportColumn {
    QString title;
    int percent;        // share of the page's width
    bool code = false;  // hexadecimal digits, set in a fixed-width font
};

struct ReportRow {
    QStringList cells;
    bool group = false;  // a group's caption across the whole row
};

// A piece that is laid out whole: never broken over a page.
struct ReportBlock {
    enum Kind { Title, Heading, Subheading, Paragraph, Pairs, Signatures };
    Kind kind = Paragraph;
    QString text;  // of a title, heading or paragraph
    // Pairs: label-value rows without lines. Signatures: the labels under the lines to sign on.
    QList<ReportColumn> columns;
    QList<ReportRow> rows;
};

// A table whose rows follow one by one; its titles stand on each page it runs over.
struct ReportTable {
    QList<ReportColumn> columns;
    QString continued;  // stands above the titles on every further page
    int keepRows = 3;   // rows that start on the same page as the titles (fewer if it has fewer)
};

class ReportSink {
  public:
    virtual ~ReportSink() = default;
    virtual void Block(const ReportBlock& block) = 0;
    virtual void TableStarts(const ReportTable& table) = 0;
    virtual void Row(const ReportRow& row) = 0;
    virtual void TableEnds() = 0;
};

// What a first pass over the lines found that the title block names before them.
struct ReportFacts {
    QString sites;  // the sites of the lines, when the header names none
};

// Tells the report of the lines to sink; facts gets what the title block would name. The title
// block takes as much room whatever facts say, so a pass with facts still unknown sets the same
// pages. False with a German error when the lines could not be read.
bool TellReport(const ReportHeader& header, const ReportFacts& known, ReportLines& lines,
                ReportSink& sink, ReportFacts* found, QString* error);

// A journal time (ISO 8601 with offset) as local date and time, "08.12.2026 07:19"; the
// text as it stands when it is no time.
QString LocalTimeText(const QString& journalTime);
