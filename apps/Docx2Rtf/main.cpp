// Docx2Rtf -f "<folder>" docx|odt [-t SECONDS]
#include "docx2rtf.h"

#include "platform/desktop/posix_process_launcher.h"

#include <iostream>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto options = keystride::docx2rtf::parseArguments(args, std::cerr);
    if (!options) {
        std::cerr << keystride::docx2rtf::Usage;
        return keystride::docx2rtf::BadUsage;
    }
    keystride::PosixProcessLauncher launcher;
    return keystride::docx2rtf::convertFolder(*options, launcher, std::cout, std::cerr);
}
