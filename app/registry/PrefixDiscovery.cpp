#include "app/registry/PrefixDiscovery.hpp"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <set>
#include <utility>

#include "app/registry/UniqueFd.hpp"

namespace registry {
namespace {

namespace fs = std::filesystem;

enum class Root { kHome, kData };

// One usual place: below a root, "*" standing for every folder at that level.
struct UsualPlace {
    const char* origin;
    Root root;
    const char* pattern;
};

constexpr UsualPlace kUsualPlaces[] = {
    {"Wine", Root::kHome, ".wine"},
    {"winetricks", Root::kData, "wineprefixes/*"},
    {"Lutris", Root::kHome, "Games/*"},
    {"Lutris", Root::kHome, "Games/*/prefix"},
    {"Lutris", Root::kHome, "Games/*/pfx"},
    {"Bottles", Root::kData, "bottles/bottles/*"},
    {"Bottles", Root::kHome, ".var/app/com.usebottles.bottles/data/bottles/bottles/*"},
    {"PlayOnLinux", Root::kHome, ".PlayOnLinux/wineprefix/*"},
    {"Steam", Root::kData, "Steam/steamapps/compatdata/*/pfx"},
    {"Steam", Root::kHome, ".steam/steam/steamapps/compatdata/*/pfx"},
    {"Steam", Root::kHome,
     ".var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/compatdata/*/pfx"},
    {"CrossOver", Root::kHome, ".cxoffice/*"},
};

const fs::path& RootOf(const SearchRoots& roots, Root root) {
    return root == Root::kHome ? roots.home : roots.dataHome;
}

bool IsFolder(const fs::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool Exists(const fs::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

// The folders a pattern names, in name order; folders that cannot be listed give nothing.
std::vector<fs::path> Expand(const fs::path& base, const fs::path& pattern) {
    std::vector<fs::path> found{base};
    for (const fs::path& part : pattern) {
        std::vector<fs::path> next;
        for (const fs::path& folder : found) {
            if (part != "*") {
                next.push_back(folder / part);
                continue;
            }
            std::error_code error;
            std::vector<fs::path> children;
            for (fs::directory_iterator it(folder, error); !error && it != fs::directory_iterator();
                 it.increment(error)) {
                if (IsFolder(it->path())) children.push_back(it->path());
            }
            std::sort(children.begin(), children.end());
            next.insert(next.end(), children.begin(), children.end());
        }
        found = std::move(next);
    }
    return found;
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
    } else if (!roots.home.empty()) {
        roots.dataHome = roots.home / ".local" / "share";
    }
    return roots;
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

std::vector<SettingsPlace> DiscoverPrefixes(const SearchRoots& roots,
                                            std::string_view messengerKey) {
    std::vector<SettingsPlace> places;
    std::set<std::pair<dev_t, ino_t>> seen;
    for (const UsualPlace& usual : kUsualPlaces) {
        const fs::path& base = RootOf(roots, usual.root);
        if (base.empty()) continue;
        for (const fs::path& folder : Expand(base, usual.pattern)) {
            struct stat info {};
            if (::stat(folder.c_str(), &info) != 0 || !IsWinePrefix(folder)) continue;
            if (!seen.insert({info.st_dev, info.st_ino}).second) continue;
            places.push_back({folder, usual.origin, HiveHasKey(folder, messengerKey)});
        }
    }
    return places;
}

std::string DescribeSearchedPlaces(const SearchRoots& roots) {
    std::string text;
    std::string_view runOrigin;
    for (const UsualPlace& usual : kUsualPlaces) {
        const fs::path& base = RootOf(roots, usual.root);
        if (base.empty()) continue;
        // One launcher's places together, its name after the last of them.
        if (!runOrigin.empty() && runOrigin != usual.origin && runOrigin != "Wine") {
            text += " (" + std::string(runOrigin) + ")";
        }
        text += (text.empty() ? "" : ", ") + Abbreviated(base / usual.pattern, roots.home);
        runOrigin = usual.origin;
    }
    if (!runOrigin.empty() && runOrigin != "Wine") text += " (" + std::string(runOrigin) + ")";
    return text;
}

}  // namespace registry
