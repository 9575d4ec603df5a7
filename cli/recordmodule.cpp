// The entry of the module with the device jobs and the record, which run on Qt Core alone.

#include <QCoreApplication>
#include <type_traits>

#include "cli/context.h"

extern "C" Q_DECL_EXPORT int KorbiCliModuleMain(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    return RunCli(argc, argv);
}
static_assert(std::is_same_v<decltype(&KorbiCliModuleMain), CliModuleMain>);
