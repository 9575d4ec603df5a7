#include "app/application.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <exception>

#include "app/prompts.h"
#include "app/qtprompts.h"

KorbiApplication::KorbiApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool KorbiApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowEscapedError(prompts_, QString::fromLocal8Bit(error.what()));
    } catch (...) {
        ShowEscapedError(prompts_, QString());
    }
    return false;
}

bool InstallGermanToolkitTexts(QCoreApplication& app) {
    // The window is German whatever the process's locale: its times read "2,5", not "2.5".
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_de"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

void ShowEscapedError(Prompts* prompts, const QString& message) {
    QtPrompts fallback;
    Prompts& box = prompts ? *prompts : fallback;
    box.ShowMessage(BoxKind::Error, 0, message, BoxButtons::Ok);
}
