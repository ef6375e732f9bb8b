#include "cli/report.h"

#include <iostream>

int main(int argc, char **argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    const int status = penarin::cli::runReport(args, std::cout, std::cerr);
    std::cout.flush();
    if (!std::cout) {
        return penarin::cli::ExitCannotWrite;
    }
    return status;
}
