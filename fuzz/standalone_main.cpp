// Runs a fuzz target over files and folders named on the command line, so the targets build
// and their seed corpus runs without libFuzzer. Options starting with '-' are ignored, which
// lets a libFuzzer command line be reused as it is.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

bool runFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "%s: cannot be read\n", path.string().c_str());
        return false;
    }
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    std::size_t files = 0;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.starts_with("-"))
            continue;
        const std::filesystem::path path(argument);
        std::error_code error;
        if (std::filesystem::is_directory(path, error)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(path, error)) {
                if (!entry.is_regular_file())
                    continue;
                ok = runFile(entry.path()) && ok;
                ++files;
            }
        } else if (std::filesystem::is_regular_file(path, error)) {
            ok = runFile(path) && ok;
            ++files;
        } else {
            std::fprintf(stderr, "%s: no such file or folder\n", argument.c_str());
            ok = false;
        }
    }
    std::printf("Ran %zu input(s).\n", files);
    if (files == 0) {
        std::fprintf(stderr, "No inputs: name files or folders to run.\n");
        return 1;
    }
    return ok ? 0 : 1;
}
