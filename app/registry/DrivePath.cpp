#include "app/registry/DrivePath.hpp"

#include <sys/stat.h>

#include <array>
#include <vector>

namespace registry {
namespace {

namespace fs = std::filesystem;

struct DriveRoot {
    char letter = 0;
    dev_t device = 0;
    ino_t inode = 0;
};

// Every drive of the prefix whose link leads to a folder, in letter order.
std::vector<DriveRoot> DriveRoots(const fs::path& prefix) {
    std::vector<DriveRoot> roots;
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        const fs::path link = prefix / "dosdevices" / (std::string(1, letter) + ":");
        struct stat info {};
        if (::stat(link.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
            roots.push_back({letter, info.st_dev, info.st_ino});
        }
    }
    return roots;
}

std::optional<char> DriveAt(const std::string& folder, const std::vector<DriveRoot>& roots) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return std::nullopt;
    for (const DriveRoot& root : roots) {
        if (root.device == info.st_dev && root.inode == info.st_ino) return root.letter;
    }
    return std::nullopt;
}

bool IsDotsOnly(std::string_view name) {
    return name.find_first_not_of('.') == std::string_view::npos;
}

// Windows drops trailing dots and blanks from a name; a name of dots only is "." or "..".
std::string_view TrimEnd(std::string_view name) {
    if (IsDotsOnly(name)) return name;
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.remove_suffix(1);
    return name;
}

}  // namespace

std::string FoldUnixPath(std::string_view unixPath) {
    std::vector<std::string_view> names;
    std::size_t start = 0;
    while (start <= unixPath.size()) {
        std::size_t slash = unixPath.find('/', start);
        if (slash == std::string_view::npos) slash = unixPath.size();
        const std::string_view name = unixPath.substr(start, slash - start);
        const bool last = slash == unixPath.size();
        if (name == "..") {
            if (!names.empty()) names.pop_back();
        } else if (!name.empty() && name != ".") {
            // Dots in the middle of a path: Windows takes the dots at the end of a folder name
            // away; only the last name also loses its trailing blanks.
            if (IsDotsOnly(name)) {
                if (last) names.push_back(name.substr(0, 0));
            } else if (last) {
                names.push_back(TrimEnd(name));
            } else {
                std::string_view folder = name;
                if (folder.back() == '.') folder.remove_suffix(1);
                names.push_back(folder);
            }
        }
        start = slash + 1;
    }
    std::string folded;
    for (const std::string_view name : names) {
        folded += '/';
        folded += name;
    }
    // A name that ended in a slash keeps it ("/tmp/dir/" stays a folder name).
    const bool endsInSlash = !unixPath.empty() && unixPath.back() == '/';
    if (folded.empty() || (endsInSlash && folded.back() != '/')) folded += '/';
    return folded;
}

std::optional<std::string> DrivePathInPrefix(const fs::path& prefix, std::string_view unixPath) {
    if (unixPath.empty() || unixPath.front() != '/') return std::nullopt;
    const std::vector<DriveRoot> roots = DriveRoots(prefix);
    if (roots.empty()) return std::nullopt;
    const std::string path = FoldUnixPath(unixPath);

    // From the whole path up to "/": the deepest folder that is a drive's root.
    std::size_t end = path.size();
    while (end > 1 && path[end - 1] == '/') --end;
    for (;;) {
        const std::string folder = end == 0 ? std::string("/") : path.substr(0, end);
        if (const std::optional<char> letter = DriveAt(folder, roots)) {
            std::string rest = path.substr(std::min(end, path.size()));
            while (!rest.empty() && rest.front() == '/') rest.erase(0, 1);
            for (char& c : rest) {
                if (c == '/') c = '\\';
            }
            return std::string(1, static_cast<char>(*letter - 'a' + 'A')) + ":\\" + rest;
        }
        if (end <= 1) return std::nullopt;
        end = path.rfind('/', end - 1);
        if (end == std::string::npos) return std::nullopt;
    }
}

}  // namespace registry
