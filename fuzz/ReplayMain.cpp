#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The files an argument names: itself, or the regular files of a directory in name order.
std::vector<std::filesystem::path> Inputs(const std::filesystem::path& argument) {
    if (!std::filesystem::is_directory(argument)) {
        return {argument};
    }
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(argument)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    std::ranges::sort(files);
    return files;
}

} // namespace

// Runs the fuzz target once on every corpus file named on the command line, so the corpus is
// replayed under the sanitizers of an ordinary build without libFuzzer.
int main(int argc, char** argv) {
    std::size_t count = 0;
    for (int i = 1; i < argc; ++i) {
        for (const auto& path : Inputs(argv[i])) {
            if (!std::filesystem::exists(path)) {
                std::fprintf(stderr, "no such input: %s\n", path.c_str());
                return 1;
            }
            // Named before it runs, so a trap or a sanitizer report points at its input.
            std::printf("%s\n", path.c_str());
            std::fflush(stdout);
            const std::vector<std::uint8_t> data = ReadFile(path);
            LLVMFuzzerTestOneInput(data.data(), data.size());
            ++count;
        }
    }
    std::printf("%zu inputs replayed\n", count);
    return count == 0 ? 1 : 0;
}
