// Is a wineserver serving this prefix? While one runs it holds the registry in memory and
// rewrites the hive from memory when it saves, so an edit of the file would be lost.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "app/registry/UniqueFd.hpp"

namespace registry {

struct WineServerStatus {
    bool running = false;
    std::string evidence;  // which lock, socket or process showed it, for the user
};

// Where a server keeps its folder and where its processes are seen.
struct ServerPlaces {
    std::filesystem::path serverRoot = "/tmp";  // the host's server folders
    std::filesystem::path procRoot = "/proc";   // every process of the system, sandboxed or not
};

// The server's folder name for a prefix: "server-<device hex>-<inode hex>" of the prefix folder;
// empty when the prefix cannot be examined.
std::string ServerFolderLeaf(const std::filesystem::path& prefix);

// The host's folders: the one the prefix's "wineserver" file names below serverRoot, then
// ".wine-<uid>"; there only a held lock or a socket that accepts a connection counts, since the
// folders stay behind after the server has gone. Then every wineserver process of this user,
// whatever mount namespace it runs in (a Flatpak or Snap sandbox, Steam's container, a private
// /tmp): a server works in its own folder, so one whose working folder bears this prefix's leaf
// serves it (and so does one still working in the prefix itself, as it does while it starts).
WineServerStatus ProbeWineServer(const std::filesystem::path& prefix, const ServerPlaces& places);
WineServerStatus ProbeWineServer(const std::filesystem::path& prefix,
                                 const std::filesystem::path& serverRoot);

// Only the process search of ProbeWineServer: it opens no file of the host's server folders, so
// it does not let go of a ServerStartBlock of this process.
WineServerStatus FindServerProcess(const std::filesystem::path& prefix,
                                   const std::filesystem::path& procRoot);

// While held, no wineserver for the prefix can start on this host: a starting server takes the
// write lock of its folder's "lock" file first and gives up when another holds it (the Wine
// program that wanted it retries a moment later). Holds the lock of every host folder a server
// of the prefix could use, creating the upstream folder as Wine makes it (owner only) when it is
// missing. A server in a sandbox's own /tmp cannot be held off: FindServerProcess finds it.
class ServerStartBlock {
  public:
    // running: a server holds one of the locks now.
    static ServerStartBlock Take(const std::filesystem::path& prefix,
                                 const std::filesystem::path& serverRoot);

    const WineServerStatus& Status() const { return status_; }
    std::size_t HeldLocks() const { return held_.size(); }

  private:
    std::vector<UniqueFd> held_;  // fcntl locks go with the descriptors
    WineServerStatus status_;
};

}  // namespace registry
