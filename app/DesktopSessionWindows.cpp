// Windows always has a desktop; the program's files lie beside the program.
#include "app/DesktopSession.hpp"

namespace vornik {

std::optional<std::string> MissingDisplay() {
    return std::nullopt;
}

std::filesystem::path BlankImageFolder(const std::filesystem::path& programFolder) {
    std::error_code error;
    if (std::filesystem::exists(programFolder / "noad.gif", error)) return programFolder;
    return {};
}

}  // namespace vornik
