#pragma once

#include <optional>

// The options the program answers by itself, before any window: --version and --help. Every
// other argument is left to Qt.
namespace CommandLine {

// The exit code when an option was answered on standard output; nothing otherwise.
std::optional<int> answer(int argc, char* argv[]);

} // namespace CommandLine
