// The print module (korbi-print.so): the only code that uses Qt's print support, opened by the
// program on the first print (app/printing.cpp).

#include <QPrintDialog>
#include <QPrinter>
#include <type_traits>

#include "app/printing.h"

extern "C" Q_DECL_EXPORT int KorbiPrint(const PrintRequest& request) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(request.documentName);
    QPrintDialog dialog(&printer, request.parent);
    dialog.setWindowTitle(request.dialogTitle);
    if (dialog.exec() != QDialog::Accepted) return -1;
    return request.paint(printer);
}

// The program calls it through this type.
static_assert(std::is_same_v<decltype(&KorbiPrint), PrintFunction>);
