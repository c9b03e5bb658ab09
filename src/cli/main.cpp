#include <unistd.h>

#include <iostream>

#include "cli/CliApp.h"
#ifdef TALLORA_CLI_PICTURES
#include "report/qt/QtPictureOutput.h"
#endif

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const bool errIsTerminal = isatty(STDERR_FILENO) == 1;
#ifdef TALLORA_CLI_PICTURES
    tallora::QtPictureOutput pictures;
    return tallora::RunCli(args, std::cout, std::cerr, &pictures, errIsTerminal, &std::cin);
#else
    return tallora::RunCli(args, std::cout, std::cerr, nullptr, errIsTerminal, &std::cin);
#endif
}
