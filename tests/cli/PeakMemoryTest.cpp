#include "Testing.h"

#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define UNDER_ADDRESS_SANITIZER
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define UNDER_ADDRESS_SANITIZER
#endif
#endif

namespace {

// What the longest datum may cost over the default code image: its pattern and a few copies of
// the data. AddressSanitizer shadows every allocation and holds freed ones back for a while.
#ifdef UNDER_ADDRESS_SANITIZER
constexpr long AllowedKiB = 48 * 1024;
#else
constexpr long AllowedKiB = 16 * 1024;
#endif

struct Outcome {
    int Exit;
    long PeakKiB;
};

// quillmark-cli run with args, its warnings let go: its exit status and its peak resident memory,
// as the kernel counted it for the process.
Outcome RunProgram(const std::vector<std::string>& args) {
    char* cli = std::getenv("QUILLMARK_CLI");
    std::vector<char*> argv{cli};
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    // AddressSanitizer would hold up to 256 MB of freed blocks back to catch their use: what is
    // measured is what the program holds.
    std::vector<std::string> variables;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        if (!std::string_view(*variable).starts_with("ASAN_OPTIONS=")) {
            variables.emplace_back(*variable);
        }
    }
    std::string& asan = variables.emplace_back("ASAN_OPTIONS=");
    if (const char* given = std::getenv("ASAN_OPTIONS")) {
        asan += given;
    }
    asan += ":quarantine_size_mb=1";
    std::vector<char*> envp;
    for (std::string& variable : variables) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, cli, &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return {-1, 0};
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, usage.ru_maxrss};
}

} // namespace

// The longest argument the kernel passes (131,072 bytes with its terminating zero) as Code 39
// Extended data, each character a pair: its bars reach millions of pixels past the code image,
// yet writing the image as BMP or SVG takes hardly more memory than the default image does.
TEST(PeakMemory, TheLongestDatumCostsLittleMoreThanTheImage) {
    ASSERT_NE(std::getenv("QUILLMARK_CLI"), nullptr);
    const ScratchDir dir;
    const Outcome ordinary = RunProgram({"--output", dir / "ordinary.bmp"});
    ASSERT_EQ(ordinary.Exit, 0);
    const std::string datum(131071, 'a');
    for (const std::string name : {"long.bmp", "long.svg"}) {
        const Outcome run =
            RunProgram({"--type", "Code 39 Extended", "--data", datum, "--output", dir / name});
        EXPECT_EQ(run.Exit, 0) << name;
        EXPECT_LE(run.PeakKiB - ordinary.PeakKiB, AllowedKiB) << name;
    }
}

// A list of a million data is checked whole before the first file, holding its text once: one
// refused line at its end and nothing is written, in little more memory than the list's size.
TEST(PeakMemory, AMillionLineListIsHeldOnce) {
    ASSERT_NE(std::getenv("QUILLMARK_CLI"), nullptr);
    const ScratchDir dir;
    const Outcome ordinary = RunProgram({"--output", dir / "ordinary.bmp"});
    ASSERT_EQ(ordinary.Exit, 0);
    std::string list;
    for (int i = 0; i < 1000000; ++i) {
        const std::string n = std::to_string(i);
        list += "ITEM-";
        list.append(15 - n.size(), '0');
        list += n;
        list += '\n';
    }
    list += "ITEM-\x7F\n";
    std::ofstream(dir / "list.txt") << list;
    const Outcome run =
        RunProgram({"--type", "Code 128B", "--data-file", dir / "list.txt", "--dir", dir / "out"});
    EXPECT_EQ(run.Exit, 1);
    EXPECT_FALSE(fs::exists(dir / "out"));
    EXPECT_LE(run.PeakKiB - ordinary.PeakKiB, static_cast<long>(list.size() / 1024) + AllowedKiB);
}
