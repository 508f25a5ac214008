// formwright-cli: converts, identifies and checks form files from the command line.

#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return fw::cli::RunTool(args, std::cin, std::cout, std::cerr);
}
