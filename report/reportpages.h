#pragma once
// The report laid out on A4 pages, in German: the title block, the table of device jobs (its
// column titles on every page), each configuration written with the settings the write sends as
// the window groups them, the lines to sign on, and "Seite N von M" with the program in the
// footer. The same pages go to a PDF file and to a printer. The pages are set one at a time from
// lines that stream past, so a report of any length needs the memory of a page.

#include <QByteArray>

#include "report/report.h"

class QImage;
class QIODevice;
class QPagedPaintDevice;
class ReportLines;

// Paints the report of the lines onto the device's pages (A4 with margins); the number of pages,
// or 0 with a German error.
int PaintReport(const ReportHeader& header, ReportLines& lines, QPagedPaintDevice& device,
                QString* error);
// The same as a PDF written to out as the pages are set.
int WriteReportPdf(const ReportHeader& header, ReportLines& lines, QIODevice& out, QString* error);

// Paints the report onto the device's pages (A4 with margins); the number of pages, or 0 when
// the device could not be painted on.
int PaintReport(const Report& report, QPagedPaintDevice& device);

// The report as the bytes of a PDF file; pages, when given, gets the number of pages (0 when
// nothing could be made).
QByteArray ReportPdf(const Report& report, int* pages = nullptr);

// The first page as a picture at dpi dots per inch, white paper and all, e.g. for a README.
QImage ReportPageImage(const Report& report, int dpi);
