#include "app/CommandLine.hpp"

#include <string_view>

namespace vornik {
namespace {

CommandLine Error(std::string message) {
    CommandLine line;
    line.action = CommandLine::Action::kError;
    line.error = std::move(message);
    return line;
}

}  // namespace

CommandLine ParseCommandLine(int& argc, char** argv, bool prefixAllowed) {
    CommandLine line;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            line.action = CommandLine::Action::kHelp;
        } else if (arg == "--version") {
            if (line.action == CommandLine::Action::kRun)
                line.action = CommandLine::Action::kVersion;
        } else if (arg == "--prefix" || arg.starts_with("--prefix=")) {
            if (!prefixAllowed) return Error("--prefix names a Wine prefix; there is none here");
            std::string_view value;
            if (arg == "--prefix") {
                if (i + 1 >= argc) return Error("--prefix needs the folder of a Wine prefix");
                value = argv[++i];
            } else {
                value = arg.substr(9);
            }
            if (value.empty()) return Error("--prefix needs the folder of a Wine prefix");
            if (line.prefix) return Error("--prefix may be given only once");
            line.prefix = std::filesystem::path(value);
        } else if (arg.starts_with("--")) {
            return Error("unknown option \"" + std::string(arg) + "\"");
        } else {
            // The toolkit's own (-platform NAME, -style NAME, ...); what it does not take is
            // refused once it has started.
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    argv[argc] = nullptr;
    return line;
}

std::string UsageText(bool prefixAllowed) {
    std::string text = prefixAllowed ? "Usage: vornik [--prefix FOLDER]\n" : "Usage: vornik\n";
    text +=
        "Takes the advertising out of the instant messenger by changing its settings: hides or "
        "restores\ntwo of its tabs and points its banners at an image of your choice.\n\n";
    if (prefixAllowed) {
        text +=
            "  --prefix FOLDER  the Wine prefix the messenger runs in. Without it: $WINEPREFIX,\n"
            "                   else the prefix of Wine, winetricks, Lutris, Bottles, "
            "PlayOnLinux,\n"
            "                   Steam or CrossOver that holds the messenger's settings (you "
            "choose\n"
            "                   when several do), else ~/.wine\n";
    }
    text +=
        "  --help           show this help and leave\n"
        "  --version        show the version and leave\n";
    return text;
}

std::string VersionText() {
    return "vornik " VORNIK_VERSION "\n";
}

}  // namespace vornik
