#pragma once
// Runs the built tessarand-cli from a test, as a user would from a shell.

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace testdata {

// tessarand-cli is built into the same bin folder as the tests.
inline std::filesystem::path cliBinary() {
    std::error_code error;
    return std::filesystem::canonical("/proc/self/exe", error).parent_path() / "tessarand-cli";
}

inline std::string quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

// Runs the CLI; returns its exit code and what it printed on stdout (and stderr when asked).
inline int runCli(const std::string& arguments, std::string* output = nullptr,
                  bool withErrors = false) {
    const std::string command =
        quoted(cliBinary()) + " " + arguments + (withErrors ? " 2>&1" : " 2>/dev/null");
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    std::string text;
    char buffer[4096];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe))
        text.append(buffer, n);
    const int status = pclose(pipe);
    if (output)
        *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace testdata
