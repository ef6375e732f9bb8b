#include "cli/report.h"
#include "season/season.h"

#include <iostream>

int main(int argc, char **argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args == std::vector<std::string>{"--version"}) {
        std::cout << "penarin-report " << penarin::ProgramVersion << '\n';
        std::cout.flush();
        return std::cout ? 0 : penarin::cli::ExitCannotWrite;
    }
    const int status = penarin::cli::runReport(args, std::cout, std::cerr);
    std::cout.flush();
    if (!std::cout) {
        return penarin::cli::ExitCannotWrite;
    }
    return status;
}
