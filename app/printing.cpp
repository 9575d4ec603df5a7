#include "app/printing.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

namespace {

const char* const kModuleName = "korbi-print.so";

// Beside the program (the build tree), then the package's private library folder.
QStringList ModuleFolders() {
    const QString program = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    return {program, QDir::cleanPath(program + QLatin1String(KORBI_PRIVATE_LIB_FROM_BIN)) +
                         QLatin1Char('/')};
}

// The module's function once it has been found; the module stays open for the session.
PrintFunction OpenModule(QString* error) {
    static PrintFunction print = nullptr;
    if (print) return print;
    QStringList tried;
    for (const QString& folder : ModuleFolders()) {
        const QString path = folder + QLatin1String(kModuleName);
        if (!QFileInfo::exists(path)) {
            tried << path;
            continue;
        }
        QLibrary module(path);
        print = reinterpret_cast<PrintFunction>(module.resolve(KORBI_PRINT_FUNCTION));
        if (print) return print;
        *error = QStringLiteral("Das Druckmodul %1 konnte nicht geladen werden: %2")
                     .arg(QDir::toNativeSeparators(path), module.errorString());
        return nullptr;
    }
    *error = QStringLiteral("Das Druckmodul fehlt; gesucht wurde %1.").arg(tried.join(", "));
    return nullptr;
}

}  // namespace

PrintOutcome PrintThroughDialog(const PrintRequest& request, QString* error) {
    const PrintFunction print = OpenModule(error);
    if (!print) return PrintOutcome::Unavailable;
    const int pages = print(request);
    if (pages < 0) return PrintOutcome::Cancelled;
    return pages == 0 ? PrintOutcome::PaintFailed : PrintOutcome::Printed;
}
