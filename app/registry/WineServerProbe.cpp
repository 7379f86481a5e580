#include "app/registry/WineServerProbe.hpp"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <vector>

#include "app/registry/UniqueFd.hpp"

namespace registry {
namespace {

// The server folder name written by Wine into the prefix; refuse anything that is not a plain
// name so a tampered file cannot point us elsewhere.
std::optional<std::string> ServerFolderName(const std::filesystem::path& prefix) {
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

bool LockIsHeld(const std::filesystem::path& lockPath) {
    const UniqueFd fd(open(lockPath.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd) return false;
    struct flock query {};
    query.l_type = F_WRLCK;
    query.l_whence = SEEK_SET;
    return fcntl(fd.Get(), F_GETLK, &query) == 0 && query.l_type != F_UNLCK;
}

bool SocketAccepts(const std::filesystem::path& socketPath) {
    sockaddr_un address{};
    const std::string path = socketPath.string();
    if (path.size() >= sizeof(address.sun_path)) return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const UniqueFd fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd) return false;
    return connect(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
}

}  // namespace

WineServerStatus ProbeWineServer(const std::filesystem::path& prefix,
                                 const std::filesystem::path& serverRoot) {
    struct stat info {};
    if (stat(prefix.c_str(), &info) != 0) return {};
    char leaf[64];
    std::snprintf(leaf, sizeof(leaf), "server-%llx-%llx",
                  static_cast<unsigned long long>(info.st_dev),
                  static_cast<unsigned long long>(info.st_ino));
    std::vector<std::filesystem::path> folders;
    if (const auto name = ServerFolderName(prefix)) folders.push_back(serverRoot / *name / leaf);
    folders.push_back(serverRoot / (".wine-" + std::to_string(getuid())) / leaf);
    for (const auto& folder : folders) {
        if (LockIsHeld(folder / "lock")) return {true, "the lock " + (folder / "lock").string()};
        if (SocketAccepts(folder / "socket")) {
            return {true, "the socket " + (folder / "socket").string()};
        }
    }
    return {};
}

}  // namespace registry
