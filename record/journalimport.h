#pragma once
// The CSV journal of earlier versions ("Protokoll.csv" beside the record) is taken into the
// record once and then renamed to "Protokoll.csv.importiert", so that nothing is read twice and
// nothing is lost.

#include <QString>

class JournalDb;

// The old journal's path beside the record at localPath.
QString OldJournalPath(const QString& localPath);

// Takes the old journal's lines into db in one transaction (as pending lines when pending), then
// renames the file. True when there was nothing to do or all went well; false with a German cause.
// A line taken over twice (a rename that failed, two programs at once) is stored once. A line
// too long to be one (or one left open at the end) and all after it are not taken over:
// *setAsideLine is then the number of its first line in the file, else it stays as it was.
bool ImportOldJournal(JournalDb& db, const QString& oldPath, bool pending, QString* cause,
                      qint64* setAsideLine = nullptr);
