// Finding a running wineserver through its process, and keeping one from starting: a fake
// process table, real fcntl locks held by other processes.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "TestHive.hpp"
#include "app/registry/WineServerProbe.hpp"

namespace registry {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::WriteFile;

// Whether another process could take the write lock of `lock` now, as a starting server tries.
bool OtherProcessCanLock(const fs::path& lock) {
    const pid_t child = fork();
    if (child == 0) {
        const int fd = open(lock.c_str(), O_RDWR);
        struct flock whole {};
        whole.l_type = F_WRLCK;
        whole.l_whence = SEEK_SET;
        _exit(fd >= 0 && fcntl(fd, F_SETLK, &whole) == 0 ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class ServerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(prefix_);
        fs::create_directories(root_);
    }
    // A process of the fake table: its name and the folder it works in.
    void AddProcess(const std::string& pid, const std::string& comm, const fs::path& cwd) {
        fs::create_directories(proc_ / pid);
        WriteFile(proc_ / pid / "comm", comm + "\n");
        fs::create_directory_symlink(cwd, proc_ / pid / "cwd");
    }
    fs::path Upstream() const { return root_ / (".wine-" + std::to_string(getuid())); }

    TempDir dir_;
    fs::path prefix_ = dir_.Path() / "prefix";
    fs::path root_ = dir_.Path() / "tmp";
    fs::path proc_ = dir_.Path() / "proc";
};

TEST_F(ServerTest, ServerProcessIsKnownByTheFolderItWorksIn) {
    const std::string leaf = ServerFolderLeaf(prefix_);
    ASSERT_TRUE(leaf.starts_with("server-"));
    // Folders a sandbox keeps to itself: nothing of them exists here.
    AddProcess("100", "bash", "/run/sandbox/tmp/.wine-1000/" + leaf);
    AddProcess("200", "wineserver64", "/tmp/.wine-1000/server-1-2");
    fs::create_directories(proc_ / "self");
    EXPECT_FALSE(FindServerProcess(prefix_, proc_).running) << "not a server, or another prefix's";

    AddProcess("300", "wineserver", "/tmp/wine-Xy12/" + leaf + " (deleted)");
    const WineServerStatus found = FindServerProcess(prefix_, proc_);
    EXPECT_TRUE(found.running);
    EXPECT_NE(found.evidence.find("process 300"), std::string::npos) << found.evidence;
    EXPECT_TRUE(ProbeWineServer(prefix_, ServerPlaces{root_, proc_}).running);
    EXPECT_FALSE(ProbeWineServer(prefix_, ServerPlaces{root_, dir_.Path() / "none"}).running);

    // A server on its way out may have let go of its lock already: it serves nobody.
    WriteFile(proc_ / "300" / "stat", "300 (wineserver) R 1 300 300 0 -1 4194308 0 0\n");
    EXPECT_FALSE(FindServerProcess(prefix_, proc_).running);
    WriteFile(proc_ / "300" / "stat", "300 (wine server) S 1 300 300 0 -1 4194560 0 0\n");
    EXPECT_TRUE(FindServerProcess(prefix_, proc_).running);

    // Until it has made its folder a starting server works in the prefix itself.
    fs::remove_all(proc_ / "300");
    AddProcess("400", "wineserver64", prefix_);
    EXPECT_NE(FindServerProcess(prefix_, proc_).evidence.find("process 400"), std::string::npos);
}

TEST_F(ServerTest, StartBlockHoldsEveryServerLockAndMakesTheUpstreamFolderAsWineDoes) {
    WriteFile(prefix_ / "wineserver", "wine-Ab12Cd\n");
    const std::string leaf = ServerFolderLeaf(prefix_);
    {
        const ServerStartBlock block = ServerStartBlock::Take(prefix_, root_);
        EXPECT_FALSE(block.Status().running);
        EXPECT_EQ(block.HeldLocks(), 2u);
        for (const fs::path& base : {root_ / "wine-Ab12Cd", Upstream()}) {
            EXPECT_EQ(fs::status(base).permissions(), fs::perms::owner_all) << base;
            EXPECT_EQ(fs::status(base / leaf).permissions(), fs::perms::owner_all);
            EXPECT_FALSE(OtherProcessCanLock(base / leaf / "lock")) << "a server cannot start";
        }
    }
    EXPECT_TRUE(OtherProcessCanLock(Upstream() / leaf / "lock")) << "and can once it is let go";

    // A running server holds its lock: the block says so and holds nothing.
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t server = fork();
    if (server == 0) {
        const int fd = open((Upstream() / leaf / "lock").c_str(), O_RDWR);
        struct flock first {};
        first.l_type = F_WRLCK;
        first.l_whence = SEEK_SET;
        first.l_len = 1;
        fcntl(fd, F_SETLK, &first);
        char byte = 1;
        (void)!write(ready[1], &byte, 1);
        pause();
        _exit(0);
    }
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    const ServerStartBlock refused = ServerStartBlock::Take(prefix_, root_);
    kill(server, SIGKILL);
    waitpid(server, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    EXPECT_TRUE(refused.Status().running);
    EXPECT_NE(refused.Status().evidence.find(leaf + "/lock"), std::string::npos);
    EXPECT_EQ(refused.HeldLocks(), 0u);
}

TEST_F(ServerTest, StartBlockNeverFollowsALinkOrUsesAFolderOthersCanEnter) {
    const fs::path elsewhere = dir_.Path() / "elsewhere";
    fs::create_directories(elsewhere);
    fs::permissions(elsewhere, fs::perms::owner_all);
    fs::create_directory_symlink(elsewhere, Upstream());
    WriteFile(prefix_ / "wineserver", "wine-open\n");
    fs::create_directories(root_ / "wine-open");
    fs::permissions(root_ / "wine-open", fs::perms::all);
    const ServerStartBlock block = ServerStartBlock::Take(prefix_, root_);
    EXPECT_EQ(block.HeldLocks(), 0u);
    EXPECT_TRUE(fs::is_empty(elsewhere));
    EXPECT_TRUE(fs::is_empty(root_ / "wine-open"));
}

}  // namespace
}  // namespace registry
