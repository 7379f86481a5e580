// The program's few options: the Wine prefix to change, help and version. Read before the
// toolkit starts, so that --help and --version work without a display.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace vornik {

struct CommandLine {
    enum class Action { kRun, kHelp, kVersion, kError };
    Action action = Action::kRun;
    std::optional<std::filesystem::path> prefix;
    std::string error;  // for kError: what is wrong, for the user
};

// Takes our options out of argv (argc shrinks); the rest is left for the toolkit.
// `prefixAllowed` is false where there are no Wine prefixes.
CommandLine ParseCommandLine(int& argc, char** argv, bool prefixAllowed);

std::string UsageText(bool prefixAllowed);
std::string VersionText();

}  // namespace vornik
