// HKEY_CURRENT_USER of a Wine prefix: the text hive "user.reg", edited while Wine is not running.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "app/registry/RegistryStore.hpp"

namespace registry {

class WineHiveStore final : public RegistryStore {
  public:
    struct Options {
        // How long to wait for another writer of the same hive before giving up.
        std::chrono::milliseconds lockTimeout{10'000};
        // Where Wine keeps its server folders on this host, and where every process is seen.
        std::filesystem::path serverRoot = "/tmp";
        std::filesystem::path procRoot = "/proc";
        // Runs after the new file is complete and flushed, just before it replaces the hive;
        // lets a test stop the process at the worst moment.
        std::function<void()> beforeReplace;
        // Runs right after the rename, before the last look for a server that started meanwhile.
        std::function<void()> afterReplace;
        // Where the prefix was looked for, named when there is none.
        std::string lookedIn;
    };

    explicit WineHiveStore(std::filesystem::path prefix);
    WineHiveStore(std::filesystem::path prefix, Options options);

    // $WINEPREFIX when set and not empty, else ~/.wine.
    static std::filesystem::path DefaultPrefix();

    const std::filesystem::path& Prefix() const { return prefix_; }
    std::filesystem::path HivePath() const { return prefix_ / "user.reg"; }

    // One read, one parse, one write: the hive is replaced atomically by a flushed copy that holds
    // every write, or left as it was. Writers of the same hive take turns through flock() on the
    // hive itself (the lock is re-taken if the file was replaced while waiting). Right before the
    // rename the file is checked to be the one read (Wine replaces it without that lock: then it
    // is read and changed again), while the server's own lock keeps a server from starting.
    Result Apply(std::span<const StringWrite> writes) override;

  private:
    std::filesystem::path prefix_;
    Options options_;
};

}  // namespace registry
