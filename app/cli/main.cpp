#include "Cli.h"
#include "TemporaryName.h"

#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    InstallFileSignalHandlers();
    const std::vector<std::string> args(argv + 1, argv + argc);
    return RunCli(args, std::cout, std::cerr, isatty(STDERR_FILENO) == 1);
}
