#include "app/registry/PrefixDiscovery.hpp"

#include <fcntl.h>
#include <fnmatch.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <set>
#include <utility>

#include "app/registry/LauncherFiles.hpp"
#include "app/registry/UniqueFd.hpp"

namespace registry {
namespace {

namespace fs = std::filesystem;

enum class Root { kHome, kData, kConfig, kWinePrefixes };

// What a launcher's file names: a prefix, or a library folder with prefixes inside.
enum class Reader {
    kFolders,
    kHeroicGames,     // a game's winePrefix
    kHeroicDefaults,  // the folder of the games' prefixes, when the user moved it
    kLutrisGame,
    kBottlesPlaceholder,  // a bottle kept on a path of its own
    kSteamLibraries,
};

// One usual place: below a root, "*" (or "*.json") standing for every name at that level. With a
// reader, the pattern names the launcher's files that name prefixes.
struct UsualPlace {
    const char* origin;
    Root root;
    std::string pattern;
    Reader reader = Reader::kFolders;
    // The place is looked at only when this folder (below the same root kind) is missing.
    Root unlessRoot = Root::kHome;
    const char* unless = nullptr;
};

struct SteamRoot {
    Root root;
    const char* folder;
};
constexpr SteamRoot kSteamRoots[] = {
    {Root::kData, "Steam"},
    {Root::kHome, ".steam/steam"},
    {Root::kHome, ".var/app/com.valvesoftware.Steam/.local/share/Steam"},
    {Root::kHome, ".var/app/com.valvesoftware.Steam/data/Steam"},  // older Flatpak builds
    {Root::kHome, "snap/steam/common/.local/share/Steam"},
};

const std::vector<UsualPlace>& UsualPlaces() {
    static const std::vector<UsualPlace> all = [] {
        std::vector<UsualPlace> places = {
            {"Wine", Root::kHome, ".wine"},
            {"winetricks", Root::kWinePrefixes, "*"},
            {"Heroic", Root::kHome, "Games/Heroic/Prefixes/default/*"},
            {"Heroic", Root::kHome, "Games/Heroic/Prefixes/default/*/pfx"},
            {"Heroic", Root::kHome, "Games/Heroic/Prefixes/*"},
            {"Heroic", Root::kHome, "Games/Heroic/Prefixes/*/pfx"},
            {"Heroic", Root::kConfig, "heroic/GamesConfig/*.json", Reader::kHeroicGames},
            {"Heroic", Root::kConfig, "heroic/config.json", Reader::kHeroicDefaults},
            {"Heroic", Root::kHome,
             ".var/app/com.heroicgameslauncher.hgl/config/heroic/GamesConfig/*.json",
             Reader::kHeroicGames},
            {"Lutris", Root::kConfig, "lutris/games/*.yml", Reader::kLutrisGame},
            {"Lutris", Root::kData, "lutris/games/*.yml", Reader::kLutrisGame, Root::kConfig,
             "lutris/games"},
            {"Lutris", Root::kHome, ".var/app/net.lutris.Lutris/config/lutris/games/*.yml",
             Reader::kLutrisGame},
            {"Lutris", Root::kHome, ".var/app/net.lutris.Lutris/data/lutris/games/*.yml",
             Reader::kLutrisGame, Root::kHome, ".var/app/net.lutris.Lutris/config/lutris/games"},
            {"Lutris", Root::kHome, "Games/*"},
            {"Lutris", Root::kHome, "Games/*/*"},  // prefix, pfx, and installs through a service
            {"Bottles", Root::kData, "bottles/bottles/*"},
            {"Bottles", Root::kHome, ".var/app/com.usebottles.bottles/data/bottles/bottles/*"},
            {"Bottles", Root::kData, "bottles/bottles/*/placeholder.yml",
             Reader::kBottlesPlaceholder},
            {"Bottles", Root::kHome,
             ".var/app/com.usebottles.bottles/data/bottles/bottles/*/placeholder.yml",
             Reader::kBottlesPlaceholder},
            {"PlayOnLinux", Root::kHome, ".PlayOnLinux/wineprefix/*"},
        };
        for (const SteamRoot& steam : kSteamRoots) {
            const std::string folder = steam.folder;
            places.push_back({"Steam", steam.root, folder + "/steamapps/compatdata/*/pfx"});
            places.push_back({"Steam", steam.root, folder + "/steamapps/libraryfolders.vdf",
                              Reader::kSteamLibraries});
        }
        places.push_back({"CrossOver", Root::kHome, ".cxoffice/*"});
        return places;
    }();
    return all;
}

const fs::path& RootOf(const SearchRoots& roots, Root root) {
    switch (root) {
        case Root::kData:
            return roots.dataHome;
        case Root::kConfig:
            return roots.configHome;
        case Root::kWinePrefixes:
            return roots.winePrefixes;
        case Root::kHome:
            break;
    }
    return roots.home;
}

// The roots a caller left empty, worked out from the home as the launchers do.
SearchRoots Completed(SearchRoots roots) {
    if (roots.home.empty()) return roots;
    if (roots.dataHome.empty()) roots.dataHome = roots.home / ".local" / "share";
    if (roots.configHome.empty()) roots.configHome = roots.home / ".config";
    if (roots.winePrefixes.empty()) roots.winePrefixes = roots.dataHome / "wineprefixes";
    return roots;
}

bool IsFolder(const fs::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsPlainFile(const fs::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool Exists(const fs::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

// The folders (or, for the last name with `files`, the plain files) a pattern names, in name
// order; folders that cannot be listed give nothing.
std::vector<fs::path> Expand(const fs::path& base, const fs::path& pattern, bool files = false) {
    std::vector<fs::path> found{base};
    for (auto part = pattern.begin(); part != pattern.end(); ++part) {
        const bool last = std::next(part) == pattern.end();
        const std::string glob = part->string();
        std::vector<fs::path> next;
        for (const fs::path& folder : found) {
            if (glob.find('*') == std::string::npos) {
                next.push_back(folder / *part);
                continue;
            }
            std::error_code error;
            std::vector<fs::path> children;
            for (fs::directory_iterator it(folder, error); !error && it != fs::directory_iterator();
                 it.increment(error)) {
                const fs::path& child = it->path();
                if (::fnmatch(glob.c_str(), child.filename().c_str(), 0) != 0) continue;
                if (last && files ? IsPlainFile(child) : IsFolder(child)) {
                    children.push_back(child);
                }
            }
            std::sort(children.begin(), children.end());
            next.insert(next.end(), children.begin(), children.end());
        }
        found = std::move(next);
    }
    return found;
}

// A folder a launcher wrote: absolute, or below the home as "~/...".
std::optional<fs::path> LauncherFolder(const std::string& written, const fs::path& home) {
    // An escaped NUL would cut the path short where the system reads it: another folder.
    if (written.find('\0') != std::string::npos) return std::nullopt;
    if (written.starts_with('/')) return fs::path(written);
    if (written.starts_with("~/") && !home.empty()) return home / written.substr(2);
    return std::nullopt;
}

// The folders that may be prefixes, as the launcher's file `file` names them.
std::vector<fs::path> NamedIn(const fs::path& file, Reader reader, const fs::path& home) {
    const std::string text = ReadSmallFile(file);
    std::vector<std::string> written;
    switch (reader) {
        case Reader::kHeroicGames:
            written = JsonStringValues(text, "winePrefix");
            break;
        case Reader::kHeroicDefaults:
            written = JsonStringValues(text, "defaultWinePrefix");
            break;
        case Reader::kLutrisGame:
            if (auto prefix = YamlValue(text, "game", "prefix")) written.push_back(*prefix);
            break;
        case Reader::kBottlesPlaceholder:
            if (auto path = YamlValue(text, "", "Path")) written.push_back(*path);
            break;
        case Reader::kSteamLibraries:
            written = VdfLibraryPaths(text);
            break;
        case Reader::kFolders:
            break;
    }
    std::vector<fs::path> folders;
    for (const std::string& value : written) {
        const std::optional<fs::path> folder = LauncherFolder(value, home);
        if (!folder) continue;
        const auto expand = [&](const char* pattern) {
            for (fs::path& p : Expand(*folder, pattern)) folders.push_back(std::move(p));
        };
        if (reader == Reader::kSteamLibraries) {
            expand("steamapps/compatdata/*/pfx");
            continue;
        }
        if (reader == Reader::kHeroicDefaults) {
            expand("*");
            expand("*/pfx");
            continue;
        }
        folders.push_back(*folder);
        // Heroic's Proton games keep the prefix in "pfx" inside the folder it names.
        if (reader == Reader::kHeroicGames) folders.push_back(*folder / "pfx");
    }
    return folders;
}

bool Applies(const UsualPlace& usual, const SearchRoots& roots) {
    if (RootOf(roots, usual.root).empty()) return false;
    return usual.unless == nullptr || !Exists(RootOf(roots, usual.unlessRoot) / usual.unless);
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The key as Wine writes it in a section header: every backslash doubled.
std::string HeaderSpelling(std::string_view keyPath) {
    std::string out;
    for (const char c : keyPath) {
        out += Lower(c);
        if (c == '\\') out += '\\';
    }
    return out;
}

bool HasSection(std::string_view hive, const std::string& header) {
    for (std::size_t at = 0; at < hive.size();) {
        if (hive[at] == '[' && hive.size() - at > header.size() + 1) {
            const std::string_view name = hive.substr(at + 1, header.size());
            const bool same = std::equal(name.begin(), name.end(), header.begin(),
                                         [](char a, char b) { return Lower(a) == b; });
            const char after = hive[at + 1 + header.size()];
            if (same && (after == ']' || after == '\\')) return true;
        }
        const std::size_t newline = hive.find('\n', at);
        if (newline == std::string_view::npos) break;
        at = newline + 1;
    }
    return false;
}

std::string Abbreviated(const fs::path& path, const fs::path& home) {
    const std::string text = path.string();
    const std::string homeText = home.string();
    if (!homeText.empty() && text.rfind(homeText + "/", 0) == 0) {
        return "~" + text.substr(homeText.size());
    }
    return text;
}

}  // namespace

SearchRoots SearchRootsFromEnvironment() {
    SearchRoots roots;
    if (const char* home = std::getenv("HOME"); home && *home) {
        roots.home = home;
    } else if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir) {
        roots.home = user->pw_dir;
    }
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/') {
        roots.dataHome = data;
    }
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/') {
        roots.configHome = config;
    }
    if (const char* tricks = std::getenv("WINE_PREFIXES"); tricks && *tricks == '/') {
        roots.winePrefixes = tricks;
    }
    return Completed(roots);
}

bool IsWinePrefix(const fs::path& folder) {
    return Exists(folder / "user.reg") && Exists(folder / "system.reg") &&
           IsFolder(folder / "drive_c");
}

SettingsPresence HiveHasKey(const fs::path& prefix, std::string_view keyPath) {
    const UniqueFd fd(::open((prefix / "user.reg").c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd) return errno == ENOENT ? SettingsPresence::kAbsent : SettingsPresence::kUnreadable;
    std::string text;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd.Get(), buffer, sizeof(buffer));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return SettingsPresence::kUnreadable;
        if (got == 0) break;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return HasSection(text, HeaderSpelling(keyPath)) ? SettingsPresence::kPresent
                                                     : SettingsPresence::kAbsent;
}

std::vector<SettingsPlace> DiscoverPrefixes(const SearchRoots& given,
                                            std::string_view messengerKey) {
    const SearchRoots roots = Completed(given);
    std::vector<SettingsPlace> places;
    std::set<std::pair<dev_t, ino_t>> seen;
    const auto consider = [&](const fs::path& folder, const char* origin) {
        struct stat info {};
        if (::stat(folder.c_str(), &info) != 0 || !IsWinePrefix(folder)) return;
        if (!seen.insert({info.st_dev, info.st_ino}).second) return;
        places.push_back({folder, origin, HiveHasKey(folder, messengerKey)});
    };
    for (const UsualPlace& usual : UsualPlaces()) {
        if (!Applies(usual, roots)) continue;
        const fs::path& base = RootOf(roots, usual.root);
        if (usual.reader == Reader::kFolders) {
            for (const fs::path& folder : Expand(base, usual.pattern))
                consider(folder, usual.origin);
            continue;
        }
        for (const fs::path& file : Expand(base, usual.pattern, true)) {
            for (const fs::path& folder : NamedIn(file, usual.reader, roots.home)) {
                consider(folder, usual.origin);
            }
        }
    }
    return places;
}

std::string DescribeSearchedPlaces(const SearchRoots& given) {
    const SearchRoots roots = Completed(given);
    std::string text;
    std::string_view runOrigin;
    for (const UsualPlace& usual : UsualPlaces()) {
        if (!Applies(usual, roots)) continue;
        // One launcher's places together, its name after the last of them.
        if (!runOrigin.empty() && runOrigin != usual.origin && runOrigin != "Wine") {
            text += " (" + std::string(runOrigin) + ")";
        }
        const std::string where =
            Abbreviated(RootOf(roots, usual.root) / usual.pattern, roots.home);
        text += (text.empty() ? "" : ", ");
        switch (usual.reader) {
            case Reader::kFolders:
                text += where;
                break;
            case Reader::kSteamLibraries:
                text += "the libraries listed in " + where;
                break;
            case Reader::kHeroicDefaults:
                text += "the prefix folder named in " + where;
                break;
            default:
                text += "the prefixes named in " + where;
                break;
        }
        runOrigin = usual.origin;
    }
    if (!runOrigin.empty() && runOrigin != "Wine") text += " (" + std::string(runOrigin) + ")";
    return text;
}

}  // namespace registry
