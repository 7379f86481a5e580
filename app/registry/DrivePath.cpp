#include "app/registry/DrivePath.hpp"

#include <sys/stat.h>

#include <cerrno>
#include <vector>

namespace registry {
namespace {

namespace fs = std::filesystem;

struct DriveRoot {
    char letter = 0;
    dev_t device = 0;
    ino_t inode = 0;
};

void AddRoot(std::vector<DriveRoot>& roots, char letter, const fs::path& folder) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        roots.push_back({letter, info.st_dev, info.st_ino});
    }
}

// Every drive of the prefix whose link leads to a folder, in letter order.
std::vector<DriveRoot> DriveRoots(const fs::path& prefix) {
    std::vector<DriveRoot> roots;
    const fs::path devices = prefix / "dosdevices";
    struct stat info {};
    if (::lstat(devices.c_str(), &info) != 0 && errno == ENOENT) {
        // Wine makes these two when it first runs in a prefix that has none.
        AddRoot(roots, 'C', prefix / "drive_c");
        AddRoot(roots, 'Z', "/");
        return roots;
    }
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        AddRoot(roots, static_cast<char>(letter - 'a' + 'A'),
                devices / (std::string(1, letter) + ":"));
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

// The length of the path without its last name; a ".." takes the name before it too, since
// that is a folder the path went into and out of again.
std::size_t WithoutLastName(std::string_view path, std::size_t length) {
    int level = 0;
    while (level < 1) {
        std::size_t start = length;
        if (start <= 1) break;
        while (start > 1 && path[start - 1] != '/') --start;
        const std::string_view name = path.substr(start, length - start);
        if (name == "..") {
            --level;
        } else if (name != ".") {
            ++level;
        }
        while (start > 1 && path[start - 1] == '/') --start;
        length = start;
    }
    return length;
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

std::vector<std::string_view> Names(std::string_view path) {
    std::vector<std::string_view> names;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t slash = path.find('/', start);
        if (slash == std::string_view::npos) slash = path.size();
        if (slash > start) names.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    return names;
}

// Length of the UTF-8 sequence at `at`, 0 when it is not one.
std::size_t Utf8Length(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    char32_t code = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

std::optional<std::string> ProblemOf(std::string_view name) {
    for (std::size_t at = 0; at < name.size();) {
        const char c = name[at];
        const std::size_t length = Utf8Length(name, at);
        if (length == 0) return "a byte that is not UTF-8 text";
        if (static_cast<unsigned char>(c) < 0x20) return "a control character";
        if (std::string_view("*?<>|\"\\").find(c) != std::string_view::npos) {
            return std::string("the character '") + c + "'";
        }
        at += length;
    }
    if (name.back() == '.') return "a dot at its end";
    if (name.back() == ' ') return "a blank at its end";
    return std::nullopt;
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

std::optional<DriveLocation> FindDrive(const fs::path& prefix, std::string_view unixPath) {
    if (unixPath.empty() || unixPath.front() != '/') return std::nullopt;
    const std::vector<DriveRoot> roots = DriveRoots(prefix);
    if (roots.empty()) return std::nullopt;
    std::size_t length = unixPath.size();
    while (length > 1 && unixPath[length - 1] == '/') --length;
    for (;;) {
        if (const std::optional<char> letter =
                DriveAt(std::string(unixPath.substr(0, length)), roots)) {
            return DriveLocation{*letter, std::string(unixPath.substr(length == 1 ? 0 : length))};
        }
        if (length <= 1) return std::nullopt;
        length = WithoutLastName(unixPath, length);
    }
}

std::string WindowsPath(const DriveLocation& drive) {
    std::string rest = FoldUnixPath("/" + drive.rest).substr(1);
    for (char& c : rest) {
        if (c == '/') c = '\\';
    }
    return std::string(1, drive.letter) + ":\\" + rest;
}

std::optional<std::string> DrivePathInPrefix(const fs::path& prefix, std::string_view unixPath) {
    const std::optional<DriveLocation> drive = FindDrive(prefix, unixPath);
    if (!drive) return std::nullopt;
    return WindowsPath(*drive);
}

std::optional<NameProblem> UnopenableName(std::string_view rest) {
    std::vector<std::string_view> kept;
    for (const std::string_view name : Names(rest)) {
        if (name == "..") {
            if (!kept.empty()) kept.pop_back();
        } else if (name != ".") {
            kept.push_back(name);
        }
    }
    for (const std::string_view name : kept) {
        if (std::optional<std::string> what = ProblemOf(name)) {
            return NameProblem{std::string(name), std::move(*what)};
        }
    }
    return std::nullopt;
}

}  // namespace registry
