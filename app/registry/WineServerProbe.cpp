#include "app/registry/WineServerProbe.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>

namespace registry {
namespace {

namespace fs = std::filesystem;

// The server folder name written by Wine into the prefix; refuse anything that is not a plain
// name so a tampered file cannot point us elsewhere.
std::optional<std::string> ServerFolderName(const fs::path& prefix) {
    std::ifstream file(prefix / "wineserver");
    std::string name;
    if (!file || !std::getline(file, name)) return std::nullopt;
    while (!name.empty() && (name.back() == '\r' || name.back() == ' ')) name.pop_back();
    const bool plain =
        !name.empty() && name != "." && name != ".." &&
        std::all_of(name.begin(), name.end(), [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.';
        });
    if (!plain) return std::nullopt;
    return name;
}

// The server folders a server of this prefix uses on the host, in the order Wine looks.
std::vector<std::string> ServerBases(const fs::path& prefix) {
    std::vector<std::string> bases;
    if (auto name = ServerFolderName(prefix)) bases.push_back(std::move(*name));
    bases.push_back(".wine-" + std::to_string(::getuid()));
    return bases;
}

bool LockIsHeld(const fs::path& lockPath) {
    const UniqueFd fd(::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd) return false;
    struct flock query {};
    query.l_type = F_WRLCK;
    query.l_whence = SEEK_SET;
    return ::fcntl(fd.Get(), F_GETLK, &query) == 0 && query.l_type != F_UNLCK;
}

bool SocketAccepts(const fs::path& socketPath) {
    sockaddr_un address{};
    const std::string path = socketPath.string();
    if (path.size() >= sizeof(address.sun_path)) return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd) return false;
    return ::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
}

std::string FirstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

// A process on its way out (it may have let go of its lock already) or gone: its /proc/PID/stat
// says so by its state or the kernel's "exiting" flag. No stat to read: taken as alive.
bool IsExiting(const fs::path& process) {
    const std::string stat = FirstLine(process / "stat");
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) return false;
    std::istringstream fields(stat.substr(close + 1));
    std::string state;
    unsigned long long skipped = 0;
    unsigned long long flags = 0;
    fields >> state;
    for (int i = 0; i < 5; ++i) fields >> skipped;  // ppid pgrp session tty_nr tpgid
    if (!(fields >> flags)) flags = 0;
    constexpr unsigned long long kExiting = 0x4;  // PF_EXITING
    return state == "Z" || state == "X" || (flags & kExiting) != 0;
}

// A folder below `parent` as Wine makes its server folders: a real folder (never a link), the
// user's own, closed to everyone else. Made so when missing.
UniqueFd OwnFolder(int parent, const std::string& name) {
    if (::mkdirat(parent, name.c_str(), 0700) != 0 && errno != EEXIST) return UniqueFd();
    UniqueFd fd(::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat info {};
    if (!fd || ::fstat(fd.Get(), &info) != 0 || info.st_uid != ::getuid() ||
        (info.st_mode & 077) != 0) {
        return UniqueFd();
    }
    return fd;
}

}  // namespace

std::string ServerFolderLeaf(const fs::path& prefix) {
    struct stat info {};
    if (::stat(prefix.c_str(), &info) != 0) return {};
    char leaf[64];
    std::snprintf(leaf, sizeof(leaf), "server-%llx-%llx",
                  static_cast<unsigned long long>(info.st_dev),
                  static_cast<unsigned long long>(info.st_ino));
    return leaf;
}

WineServerStatus FindServerProcess(const fs::path& prefix, const fs::path& procRoot) {
    struct stat own {};
    if (::stat(prefix.c_str(), &own) != 0) return {};
    const std::string leaf = ServerFolderLeaf(prefix);
    const std::unique_ptr<DIR, int (*)(DIR*)> processes(::opendir(procRoot.c_str()), ::closedir);
    if (!processes) return {};
    while (const dirent* entry = ::readdir(processes.get())) {
        const std::string_view pid = entry->d_name;
        if (pid.empty() ||
            !std::all_of(pid.begin(), pid.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            continue;
        }
        const fs::path process = procRoot / pid;
        struct stat owner {};
        if (::stat(process.c_str(), &owner) != 0 || owner.st_uid != ::getuid()) continue;
        // wineserver, wineserver64 (Debian), wineserver32.
        if (!FirstLine(process / "comm").starts_with("wineserver") || IsExiting(process)) continue;
        const fs::path cwd = process / "cwd";
        // A starting server works in the prefix itself until it has made its own folder.
        struct stat working {};
        if (::stat(cwd.c_str(), &working) == 0 && working.st_dev == own.st_dev &&
            working.st_ino == own.st_ino) {
            return {true, "the wineserver process " + std::string(pid) + ", starting in " +
                              prefix.string()};
        }
        char target[4096];
        const ssize_t length = ::readlink(cwd.c_str(), target, sizeof(target) - 1);
        if (length <= 0) continue;
        std::string_view folder(target, static_cast<std::size_t>(length));
        // A server whose folder was removed still serves the prefix.
        if (folder.ends_with(" (deleted)")) folder.remove_suffix(10);
        const std::size_t slash = folder.rfind('/');
        if (slash == std::string_view::npos || folder.substr(slash + 1) != leaf) continue;
        return {true, "the wineserver process " + std::string(pid) + ", working in " +
                          std::string(folder)};
    }
    return {};
}

WineServerStatus ProbeWineServer(const fs::path& prefix, const ServerPlaces& places) {
    const std::string leaf = ServerFolderLeaf(prefix);
    if (leaf.empty()) return {};
    for (const std::string& base : ServerBases(prefix)) {
        const fs::path folder = places.serverRoot / base / leaf;
        if (LockIsHeld(folder / "lock")) return {true, "the lock " + (folder / "lock").string()};
        if (SocketAccepts(folder / "socket")) {
            return {true, "the socket " + (folder / "socket").string()};
        }
    }
    return FindServerProcess(prefix, places.procRoot);
}

WineServerStatus ProbeWineServer(const fs::path& prefix, const fs::path& serverRoot) {
    ServerPlaces places;
    places.serverRoot = serverRoot;
    return ProbeWineServer(prefix, places);
}

ServerStartBlock ServerStartBlock::Take(const fs::path& prefix, const fs::path& serverRoot) {
    ServerStartBlock block;
    const std::string leaf = ServerFolderLeaf(prefix);
    const UniqueFd root(::open(serverRoot.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (leaf.empty() || !root) return block;
    for (const std::string& base : ServerBases(prefix)) {
        const UniqueFd baseFolder = OwnFolder(root.Get(), base);
        if (!baseFolder) continue;
        const UniqueFd serverFolder = OwnFolder(baseFolder.Get(), leaf);
        if (!serverFolder) continue;
        UniqueFd lock(
            ::openat(serverFolder.Get(), "lock", O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!lock) continue;
        struct flock whole {};
        whole.l_type = F_WRLCK;
        whole.l_whence = SEEK_SET;
        if (::fcntl(lock.Get(), F_SETLK, &whole) == 0) {
            block.held_.push_back(std::move(lock));
        } else if (errno == EAGAIN || errno == EACCES) {
            block.status_ = {true, "the lock " + (serverRoot / base / leaf / "lock").string()};
            block.held_.clear();
            return block;
        }
    }
    return block;
}

}  // namespace registry
