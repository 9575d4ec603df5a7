// korbi-cli's entry. The commands that run device jobs or read the record live in a module, the
// report in another: their libraries (Qt SQL; Qt's graphical side with its fonts) would double
// the start of every other command. A command's module is opened before anything else happens
// and runs the whole call, as the program would.

#include <dlfcn.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QStringList>
#include <climits>
#include <string>

#include "cli/commands.h"
#include "cli/context.h"
#include "files/filenames.h"

namespace {

// The module that holds the command of this call; null when the program runs it itself, also
// for a call it refuses.
const char* ModuleOfCall(int argc, char** argv) {
    CliOptions options;
    QString error;
    if (!ParseCliArguments(CommandLineArguments(argc, argv), &options, &error)) return nullptr;
    const CommandRow* command = FindCommand(options.command);
    return command ? command->module : nullptr;
}

// The program's folder with a trailing "/", from the kernel's link to the running program.
std::string ProgramFolder() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return std::string();
    const std::string program(path, static_cast<size_t>(length));
    return program.substr(0, program.rfind('/') + 1);
}

// Runs the call in the module: beside the program (the build tree), then in the package's own
// library folder.
int RunInModule(const char* name, int argc, char** argv) {
    const std::string folder = ProgramFolder();
    QStringList tried;
    for (const std::string& path :
         {folder + name, folder + KORBI_PRIVATE_LIB_FROM_BIN + '/' + name}) {
        if (access(path.c_str(), F_OK) != 0) {
            tried << QString::fromLocal8Bit(path.c_str());
            continue;
        }
        void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        const auto run =
            module ? reinterpret_cast<CliModuleMain>(dlsym(module, "KorbiCliModuleMain")) : nullptr;
        if (run) return run(argc, argv);
        PrintProblem(
            QStringLiteral("Das Modul %1 konnte nicht geladen werden: %2")
                .arg(QString::fromLocal8Bit(path.c_str()), QString::fromLocal8Bit(dlerror())));
        return ExitUsage;
    }
    PrintProblem(QStringLiteral("Das Modul %1 fehlt; gesucht wurde %2.")
                     .arg(QString::fromLatin1(name), tried.join(", ")));
    return ExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    if (const char* module = ModuleOfCall(argc, argv)) return RunInModule(module, argc, argv);
    QCoreApplication app(argc, argv);
    return RunCli(argc, argv);
}
