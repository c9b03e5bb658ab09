#include <unistd.h>

#include <iostream>

#include "cli/CliApp.h"
#ifdef TALLORA_CLI_PICTURES
#include "platform/QtPictureOutput.h"
#endif
#ifdef TALLORA_CLI_SETTINGS
#include "platform/QtRegistryStore.h"
#endif

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const bool errIsTerminal = isatty(STDERR_FILENO) == 1;
    tallora::PictureOutput* pictures = nullptr;
#ifdef TALLORA_CLI_PICTURES
    tallora::QtPictureOutput qtPictures;
    pictures = &qtPictures;
#endif
    // Read for the data folder only: the command line never changes the settings.
    tallora::RegistryStore* settings = nullptr;
#ifdef TALLORA_CLI_SETTINGS
    tallora::QtRegistryStore qtSettings;
    settings = &qtSettings;
#endif
    return tallora::RunCli(args, std::cout, std::cerr, pictures, errIsTerminal, &std::cin,
                           settings);
}
