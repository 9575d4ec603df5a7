#pragma once
// Printing through Qt's print dialog. Qt's print support is large and most sessions never
// print, so it lives in a module of its own (korbi-print.so) that is opened on the first print:
// the program itself does not link it, and a start pays nothing for it.

#include <QString>
#include <functional>

class QPagedPaintDevice;
class QWidget;

// Paints the document onto the printer's pages: the number of pages, 0 when it could not.
using PaintPages = std::function<int(QPagedPaintDevice&)>;

struct PrintRequest {
    QWidget* parent = nullptr;
    QString documentName;  // what the printer's queue calls the job
    QString dialogTitle;
    PaintPages paint;
};

enum class PrintOutcome { Printed, Cancelled, PaintFailed, Unavailable };

// The one function the module exports: shows the print dialog and paints when it is accepted.
// Pages printed, 0 when painting failed, -1 when the dialog was cancelled.
using PrintFunction = int (*)(const PrintRequest& request);
#define KORBI_PRINT_FUNCTION "KorbiPrint"

// Opens the module (once), then prints. Unavailable: the module is missing or broken, and
// error says which file and why.
PrintOutcome PrintThroughDialog(const PrintRequest& request, QString* error);
