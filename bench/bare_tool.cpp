// The yardstick for korbi-cli's start: a bare Qt command-line tool that makes its application
// object and ends. Run by hand against a command, e.g. with farm-bench:
//   farm-bench -n 40 --vs build/bench/bare-tool -- build/cli/korbi-cli show resources/Default_v2.b

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    return 0;
}
