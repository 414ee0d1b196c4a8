// keystride-mark [options] SOURCE TYPED...
#include "mark_command.h"

#include "platform/files/program_folder.h"

#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::optional<keystride::MarkOptions> options = keystride::parseMarkArguments(args, std::cerr);
    if (!options) {
        std::cerr << keystride::MarkUsage;
        return 2;
    }
    char self[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    const std::string executable = n > 0 ? std::string(self, static_cast<std::size_t>(n)) : argv[0];
    const std::size_t slash = executable.find_last_of('/');
    options->converterFolder = slash == std::string::npos ? "." : executable.substr(0, slash);
    return keystride::runMarkCommand(*options, keystride::programDataFolder(executable), std::cout,
                                     std::cerr);
}
