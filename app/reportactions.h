#pragma once
// The programming report from the window: saved as a PDF file, printed through Qt's print
// dialog, or its lines saved as a spreadsheet file. The series summary offers all three for the
// devices of the series just written, the journal window the report of the lines its filter
// shows. The lines always come from the record, so the paper says what the record says. They are
// read on a worker thread: with a company's server the window goes on answering meanwhile.

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "report/reportjournal.h"

class JournalWorker;
class QPushButton;
class QWidget;
class MainWindow;

class ReportActions : public QObject {
    Q_OBJECT
  public:
    // range: the record's lines the report covers and, in words, what they are; asked at each
    // press; false while there is nothing to report yet.
    using RangeSource = std::function<bool(ReportRange* range, QString* rangeText)>;
    ReportActions(MainWindow& main, QWidget* parent, RangeSource range);
    ~ReportActions() override;

    void SavePdf();
    void Print();
    void SaveCsv();

    // The buttons "Als PDF speichern...", "Drucken..." and "Als CSV speichern..." in a row, as
    // the series summary shows them.
    QWidget* ButtonRow();
    // Offer enables them once there is something to report; in practice mode nothing is
    // recorded, and they stay disabled with a tooltip that says so.
    void Offer(bool enabled);
    // Whether the window's jobs are recorded (not in practice mode): only then is there a report.
    bool Recorded() const;

    // Asks the LPX for its information line for the header (after a series it is attached).
    bool askLpxInfo = false;

  signals:
    // A press has ended, whatever came of it.
    void Done();

  private:
    // Reads the report's lines off this thread, then hands the report to use here; a failure or
    // an empty report is said in a box instead. A press while the lines are read is ignored.
    void Collect(std::function<void(const Report&)> use);
    // The file chosen for the report, asked to be replaced when it exists; empty for none.
    QString AskTarget(const QString& title, const QString& filter, const QString& extension);
    void Write(const QString& path, const QByteArray& data);

    MainWindow& main_;
    QWidget* parent_;
    RangeSource range_;
    QWidget* buttonRow_ = nullptr;
    // One for each press, kept until the next: ending it (with the actions) drops the lines
    // still on their way.
    std::unique_ptr<JournalWorker> worker_;
    bool collecting_ = false;
};

// The range of the series that the window wrote from started until ended: its own lines, by this
// program, user and computer, among anything else the record got meanwhile.
ReportRange SeriesRange(const QDateTime& started, const QDateTime& ended);
// "Serie vom 08.12.2026 09:12", for the report's header.
QString SeriesRangeText(const QDateTime& started);

// The journal window's "Bericht..." with its menu: save as PDF, print.
QPushButton* ReportMenuButton(ReportActions& actions, QWidget* parent);
