// lumetra-cli: the program's work without a window (graph data as JSON or CSV, the meter scan).
#include <iostream>

#include "cli/CliOptions.h"
#include "cli/CliRun.h"

int main(int argc, char** argv) {
    cli::stCLIOPTIONS options;
    std::string strError;
    if (!cli::ParseCliOptions(argc, argv, options, strError)) {
        std::cerr << "lumetra-cli: " << strError << "\n";
        return 2;
    }
    if (options.command == cli::Command::Help) {
        std::cout << cli::CliUsage();
        return 0;
    }
    try {
        return cli::RunCli(options, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "lumetra-cli: " << e.what() << "\n";
        return 1;
    }
}
