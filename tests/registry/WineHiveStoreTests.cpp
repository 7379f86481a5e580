// The hive store on real files: refusals that leave everything as it was, atomic replacement,
// crashes, readers and concurrent writers.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <cstring>
#include <functional>
#include <set>
#include <thread>

#include "TestHive.hpp"
#include "app/registry/HiveDocument.hpp"
#include "app/registry/UniqueFd.hpp"
#include "app/registry/WineHiveStore.hpp"

namespace registry {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::ValueLine;

using test::kNobody;

// Runs body in a child process (as an unprivileged user when asked and we are root) and
// returns its exit code; the child reports a Result through it.
pid_t StartChild(const std::function<int()>& body, bool unprivileged = false) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (unprivileged && geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) {
            _exit(100);
        }
        _exit(body());
    }
    return pid;
}

int WaitChild(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int InChild(const std::function<int()>& body, bool unprivileged = false) {
    return WaitChild(StartChild(body, unprivileged));
}

std::set<std::string> Listing(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
    return names;
}

class HiveStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::MakePrefix(prefix_, test::WinebootHive());
        options_.serverRoot = dir_.Path() / "server";
        fs::create_directories(options_.serverRoot);
    }

    Result Commit(std::u16string value = u"C:\\noad.gif") {
        WineHiveStore store(prefix_, options_);
        const StringWrite write{u"Software\\Yahoo\\Pager\\yurl", u"Chat Adurl", std::move(value)};
        return store.Apply({&write, 1});
    }

    // A commit refused with the given kind that changed no file and left no new one.
    void ExpectRefusedUntouched(ErrorKind kind, std::string_view words) {
        const bool hadPrefix = fs::exists(prefix_);
        const std::string before = hadPrefix && fs::exists(Hive()) ? ReadFile(Hive()) : "";
        const auto listing = hadPrefix ? Listing(prefix_) : std::set<std::string>{};
        const Result result = Commit();
        EXPECT_EQ(result.Kind(), kind) << result.Message();
        EXPECT_NE(result.Message().find(words), std::string::npos) << result.Message();
        EXPECT_NE(result.Message().find("Nothing was changed"), std::string::npos);
        EXPECT_EQ(fs::exists(prefix_), hadPrefix);
        if (hadPrefix) {
            EXPECT_EQ(Listing(prefix_), listing);
            if (!before.empty()) {
                EXPECT_EQ(ReadFile(Hive()), before);
            }
        }
    }

    fs::path Hive() const { return prefix_ / "user.reg"; }
    fs::path ServerFolder() const {
        struct stat info {};
        stat(prefix_.c_str(), &info);
        char leaf[64];
        std::snprintf(leaf, sizeof(leaf), "server-%llx-%llx",
                      static_cast<unsigned long long>(info.st_dev),
                      static_cast<unsigned long long>(info.st_ino));
        return options_.serverRoot / "wine-Ab12Cd" / leaf;
    }
    void MakeServerFolder() {
        test::WriteFile(prefix_ / "wineserver", "wine-Ab12Cd");
        fs::create_directories(ServerFolder());
        test::WriteFile(ServerFolder() / "lock", "");
    }

    TempDir dir_;
    fs::path prefix_ = dir_.Path() / "prefix";
    WineHiveStore::Options options_;
};

TEST_F(HiveStoreTest, CommitWritesTheValueAndKeepsTheFileMode) {
    fs::permissions(Hive(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(Commit(u"caf\u00e9 \U0001F642"));
    EXPECT_EQ(ValueLine(ReadFile(Hive()), "Software\\\\Yahoo\\\\Pager\\\\yurl", "Chat Adurl"),
              "\"Chat Adurl\"=\"caf\\xe9 \\xd83d\\xde42\"");
    EXPECT_EQ(fs::status(Hive()).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Listing(prefix_), (std::set<std::string>{"user.reg"}));
}

TEST_F(HiveStoreTest, RefusesWhenThereIsNoPrefixOrNoHive) {
    fs::remove_all(prefix_);
    ExpectRefusedUntouched(ErrorKind::kNoPrefix, "no Wine prefix");
    fs::create_directories(prefix_);
    ExpectRefusedUntouched(ErrorKind::kNoHive, "user.reg");
    EXPECT_TRUE(fs::is_empty(prefix_));
}

TEST_F(HiveStoreTest, RefusesADamagedHiveNamingTheLine) {
    std::string hive = test::WinebootHive();
    hive.insert(hive.find("\"ActiveTitle\""), "\"Broken\"=\"unterminated\n");
    test::WriteFile(Hive(), hive);
    ExpectRefusedUntouched(ErrorKind::kHiveDamaged, "line 30");
}

TEST_F(HiveStoreTest, RefusesWhileAWineserverHoldsItsLock) {
    MakeServerFolder();
    int ready[2];
    int release[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(release), 0);
    const pid_t server = fork();
    if (server == 0) {
        close(release[1]);
        const int fd = open((ServerFolder() / "lock").c_str(), O_RDWR);
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        lock.l_len = 1;
        fcntl(fd, F_SETLK, &lock);
        char byte = 1;
        (void)!write(ready[1], &byte, 1);
        (void)!read(release[0], &byte, 1);
        _exit(0);
    }
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    ExpectRefusedUntouched(ErrorKind::kServerRunning, "Close the messenger");
    close(release[1]);
    waitpid(server, nullptr, 0);
    for (int fd : {ready[0], ready[1], release[0]}) close(fd);
    EXPECT_TRUE(Commit()) << "the server has gone; its folder stays behind";
}

TEST_F(HiveStoreTest, RefusesWhileAWineserverSocketAccepts) {
    MakeServerFolder();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = (ServerFolder() / "socket").string();
    ASSERT_LT(path.size(), sizeof(address.sun_path));
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    {
        const UniqueFd listener(socket(AF_UNIX, SOCK_STREAM, 0));
        ASSERT_EQ(bind(listener.Get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        ASSERT_EQ(listen(listener.Get(), 4), 0);
        ExpectRefusedUntouched(ErrorKind::kServerRunning, "socket");
    }
    EXPECT_TRUE(Commit()) << "a socket nobody listens on is left over from an old server";
}

TEST_F(HiveStoreTest, RefusesReadOnlyFileAndFolder) {
    const std::string before = ReadFile(Hive());
    fs::permissions(dir_.Path(), fs::perms::all);
    fs::permissions(prefix_, fs::perms::all);  // anyone may create files here
    fs::permissions(Hive(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    if (!test::UnprivilegedCanReach(prefix_))
        GTEST_SKIP() << "an unprivileged user cannot reach " << prefix_ << " on this machine";
    if (geteuid() == 0) {
        ASSERT_EQ(chown(Hive().c_str(), kNobody, kNobody), 0);
    }
    const auto kindOf = [&] { return static_cast<int>(Commit().Kind()); };
    EXPECT_EQ(InChild(kindOf, true), static_cast<int>(ErrorKind::kReadOnly));

    fs::permissions(Hive(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                fs::perms::others_read);
    fs::permissions(prefix_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                 fs::perms::others_read | fs::perms::others_exec);
    if (geteuid() == 0) {
        ASSERT_EQ(chown(prefix_.c_str(), 0, 0), 0);
    } else {
        fs::permissions(prefix_, fs::perms::owner_write, fs::perm_options::remove);
    }
    EXPECT_EQ(InChild(kindOf, true), static_cast<int>(ErrorKind::kReadOnly));
    EXPECT_EQ(ReadFile(Hive()), before);
    EXPECT_EQ(Listing(prefix_), (std::set<std::string>{"user.reg"}));
}

TEST_F(HiveStoreTest, RefusesWhenTheNewFileCannotBeWrittenInFull) {
    const std::string before = ReadFile(Hive());
    const int kind = InChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        return static_cast<int>(Commit().Kind());
    });
    EXPECT_EQ(kind, static_cast<int>(ErrorKind::kNoSpace));
    EXPECT_EQ(ReadFile(Hive()), before);
    EXPECT_EQ(Listing(prefix_), (std::set<std::string>{"user.reg"}));
}

TEST_F(HiveStoreTest, CrashBeforeTheRenameLeavesTheHiveWhole) {
    const std::string before = ReadFile(Hive());
    options_.beforeReplace = [] { raise(SIGKILL); };
    EXPECT_EQ(InChild([&] { return static_cast<int>(Commit().Kind()); }), 128 + SIGKILL);
    options_.beforeReplace = nullptr;
    EXPECT_EQ(ReadFile(Hive()), before);
    EXPECT_EQ(Listing(prefix_).size(), 2u) << "the dead writer's copy is still there";

    ASSERT_TRUE(Commit());
    EXPECT_EQ(Listing(prefix_), (std::set<std::string>{"user.reg"})) << "and is cleared next time";
}

TEST_F(HiveStoreTest, FolderFlushFailingAfterTheRenameSaysTheChangeWasMade) {
    const int left = InChild([&] {
        // No descriptor left once the new file is complete: the rename needs none, the folder's
        // flush cannot open the folder.
        options_.beforeReplace = [] {
            const int lowest = open("/dev/null", O_RDONLY);
            close(lowest);
            rlimit limit{};
            getrlimit(RLIMIT_NOFILE, &limit);
            limit.rlim_cur = static_cast<rlim_t>(lowest);
            setrlimit(RLIMIT_NOFILE, &limit);
        };
        const Result result = Commit(u"flushed?");
        if (result.Kind() != ErrorKind::kIoError ||
            result.Message().find("Nothing was changed") != std::string::npos ||
            result.Message().find("was replaced") == std::string::npos) {
            return 99;
        }
        return static_cast<int>(result.Left());
    });
    EXPECT_EQ(left, static_cast<int>(Aftermath::kChanged));
    EXPECT_EQ(ValueLine(ReadFile(Hive()), "Software\\\\Yahoo\\\\Pager\\\\yurl", "Chat Adurl"),
              "\"Chat Adurl\"=\"flushed?\"");
}

// Wine saves the hive by replacing it, taking no lock of ours: a save between our read and our
// rename must survive, with our change made again on top of it.
TEST_F(HiveStoreTest, HiveReplacedAfterItWasReadKeepsTheOtherWritersChange) {
    int saves = 0;
    const auto save = [&] {
        ++saves;
        std::string hive = ReadFile(Hive());
        hive += "\n[Software\\\\Wine Saved " + std::to_string(saves) + "] 1700000000\n\"Save\"=\"" +
                std::to_string(saves) + "\"\n";
        test::WriteFile(prefix_ / "user.reg.wine-tmp", hive);
        fs::rename(prefix_ / "user.reg.wine-tmp", Hive());
    };
    options_.beforeReplace = [&] {
        if (saves == 0) save();
    };
    ASSERT_TRUE(Commit(u"ours"));
    const std::string hive = ReadFile(Hive());
    EXPECT_EQ(ValueLine(hive, "Software\\\\Wine Saved 1", "Save"), "\"Save\"=\"1\"");
    EXPECT_EQ(ValueLine(hive, "Software\\\\Yahoo\\\\Pager\\\\yurl", "Chat Adurl"),
              "\"Chat Adurl\"=\"ours\"");

    // Saved again before every rename: refused, and the last save is what the hive holds.
    options_.beforeReplace = save;
    const Result result = Commit(u"never");
    EXPECT_EQ(result.Kind(), ErrorKind::kBusy) << result.Message();
    EXPECT_NE(result.Message().find("Nothing was changed"), std::string::npos);
    EXPECT_EQ(saves, 4);
    EXPECT_EQ(ValueLine(ReadFile(Hive()), "Software\\\\Yahoo\\\\Pager\\\\yurl", "Chat Adurl"),
              "\"Chat Adurl\"=\"ours\"");
    EXPECT_EQ(Listing(prefix_), (std::set<std::string>{"user.reg"}));
}

// A server in a sandbox's own /tmp cannot be held off. One that shows up as the file is
// replaced may have read the old file: the user hears that the values were written, and why
// they may not last.
TEST_F(HiveStoreTest, ServerStartingAtTheRenameIsReportedWithTheChangeMade) {
    const fs::path proc = dir_.Path() / "proc";
    options_.procRoot = proc;
    options_.afterReplace = [&] {
        fs::create_directories(proc / "77");
        test::WriteFile(proc / "77" / "comm", "wineserver\n");
        fs::create_directory_symlink(prefix_, proc / "77" / "cwd");
    };
    const Result result = Commit(u"written");
    EXPECT_EQ(result.Kind(), ErrorKind::kServerRunning);
    EXPECT_EQ(result.Left(), Aftermath::kChanged);
    EXPECT_NE(result.Message().find("process 77"), std::string::npos) << result.Message();
    EXPECT_EQ(result.Message().find("Nothing was changed"), std::string::npos);
    EXPECT_EQ(ValueLine(ReadFile(Hive()), "Software\\\\Yahoo\\\\Pager\\\\yurl", "Chat Adurl"),
              "\"Chat Adurl\"=\"written\"");
}

TEST_F(HiveStoreTest, ReadersSeeTheOldOrTheNewFileNeverAPart) {
    test::WriteFile(Hive(), test::LargeHive(1 << 20));
    std::atomic<bool> done{false};
    std::atomic<int> reads{0};
    std::atomic<int> partial{0};
    std::thread reader([&] {
        while (!done) {
            HiveParseError error;
            std::string text = ReadFile(Hive());
            const bool whole = text.size() > (1u << 20) && text.ends_with("\n") &&
                               HiveDocument::Parse(std::move(text), error).has_value();
            partial += whole ? 0 : 1;
            ++reads;
        }
    });
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(Commit(std::u16string(static_cast<std::size_t>(i * 50), u'x')));
    done = true;
    reader.join();
    EXPECT_GT(reads.load(), 0);
    EXPECT_EQ(partial.load(), 0);
}

TEST_F(HiveStoreTest, TwoProcessesCommittingAtOnceBothLand) {
    test::WriteFile(Hive(), test::LargeHive(1 << 20));
    constexpr int kRounds = 12;
    auto writer = [&](const char16_t* key) {
        return [&, key] {
            WineHiveStore store(prefix_, options_);
            for (int i = 1; i <= kRounds; ++i) {
                const std::u16string round(static_cast<std::size_t>(i), u'#');
                const StringWrite writes[] = {{key, u"Round", round}, {key, u"Also", round}};
                if (!store.Apply(writes)) return 1;
            }
            return 0;
        };
    };
    const pid_t first = StartChild(writer(u"Software\\First"));
    const pid_t second = StartChild(writer(u"Software\\Second"));
    EXPECT_EQ(WaitChild(first), 0);
    EXPECT_EQ(WaitChild(second), 0);
    const std::string hive = ReadFile(Hive());
    const std::string last = "\"Round\"=\"" + std::string(kRounds, '#') + "\"";
    EXPECT_EQ(ValueLine(hive, "Software\\\\First", "Round"), last);
    EXPECT_EQ(ValueLine(hive, "Software\\\\Second", "Round"), last);
}

}  // namespace
}  // namespace registry
