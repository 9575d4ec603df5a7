#include "app/platform.h"

#include <QCoreApplication>

AppEnvironment PlatformEnvironment(const QStringList& arguments) {
    AppEnvironment env;
    env.arguments = arguments;
    env.programFolder = QCoreApplication::applicationDirPath() + "/";
    return env;
}
