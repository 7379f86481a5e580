// Where the messenger's settings are found and how its files are named from a prefix: real
// prefix trees and real dosdevices links under a temporary home.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "TestHive.hpp"
#include "app/registry/DrivePath.hpp"
#include "app/registry/PrefixDiscovery.hpp"
#include "app/registry/SettingsPlace.hpp"

namespace registry {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

constexpr std::string_view kMessengerKey = "Software\\Yahoo\\Pager";

void MakeFakePrefix(const fs::path& folder, std::string_view sections) {
    fs::create_directories(folder / "drive_c" / "users");
    test::WriteFile(folder / "system.reg", "WINE REGISTRY Version 2\n");
    test::WriteFile(folder / "user.reg", "WINE REGISTRY Version 2\n\n" + std::string(sections));
}

const std::string kWithMessenger = "[Software\\\\Yahoo\\\\Pager\\\\yurl] 1700000000\n\"a\"=\"b\"\n";
const std::string kWithoutMessenger = "[Software\\\\Yahoo\\\\PagerX] 1700000000\n";

// A prefix with its own drive_c, the root as Z: and two nested drives under `data`.
class DrivePathTest : public ::testing::Test {
  protected:
    void SetUp() override {
        MakeFakePrefix(prefix_, "");
        fs::create_directories(data_ / "inner");
        fs::create_directories(prefix_ / "dosdevices");
        Link("c:", "../drive_c");
        Link("z:", "/");
        Link("d:", data_);
        Link("e:", data_ / "inner");
        fs::create_directory_symlink(data_, dir_.Path() / "home-link");
    }
    void Link(const std::string& drive, const fs::path& target) {
        fs::create_symlink(target, prefix_ / "dosdevices" / drive);
    }
    std::optional<std::string> Drive(const fs::path& path) const {
        return DrivePathInPrefix(prefix_, path.string());
    }

    TempDir dir_;
    fs::path prefix_ = dir_.Path() / "prefix";
    fs::path data_ = dir_.Path() / "data";
};

TEST_F(DrivePathTest, DeepestDriveWinsThroughLinksAndDriveC) {
    EXPECT_EQ(Drive(prefix_ / "drive_c" / "users" / "noad.gif"), "C:\\users\\noad.gif");
    EXPECT_EQ(Drive(prefix_ / "drive_c"), "C:\\");
    EXPECT_EQ(Drive(data_ / "pic.gif"), "D:\\pic.gif") << "need not exist";
    EXPECT_EQ(Drive(data_ / "inner" / "a" / "b.gif"), "E:\\a\\b.gif");
    EXPECT_EQ(Drive(dir_.Path() / "home-link" / "inner" / "q.gif"), "E:\\q.gif");
    std::string elsewhere = (dir_.Path() / "elsewhere.gif").string();
    std::replace(elsewhere.begin(), elsewhere.end(), '/', '\\');
    EXPECT_EQ(Drive(dir_.Path() / "elsewhere.gif"), "Z:" + elsewhere) << "the root's drive";
    EXPECT_EQ(Drive("/caf\xc3\xa9 \xe2\x9c\x93/x.gif"), "Z:\\caf\xc3\xa9 \xe2\x9c\x93\\x.gif");
    EXPECT_EQ(Drive(data_.string() + "//inner/../x/./y.gif"), "D:\\x\\y.gif");
    EXPECT_EQ(Drive(data_.string() + "/inner/.."), "D:\\");
    Link("b:", data_);
    EXPECT_EQ(Drive(data_ / "pic.gif"), "B:\\pic.gif") << "the earlier letter of a shared root";
}

TEST_F(DrivePathTest, PathNoDriveReachesIsRefused) {
    fs::remove(prefix_ / "dosdevices" / "z:");
    EXPECT_EQ(Drive("/usr/share/noad.gif"), std::nullopt);
    EXPECT_EQ(Drive(data_ / "x.gif"), "D:\\x.gif");
    EXPECT_EQ(Drive("relative/x.gif"), std::nullopt);

    const SettingsPlace place{prefix_, "Wine", SettingsPresence::kPresent};
    std::string out;
    const Result refused = MessengerFileName(place, "/usr/share/noad.gif", out);
    EXPECT_EQ(refused.Kind(), ErrorKind::kInvalidArgument);
    EXPECT_NE(refused.Message().find("\"/usr/share/noad.gif\""), std::string::npos);
    EXPECT_NE(refused.Message().find("Nothing was changed"), std::string::npos);
    for (const char* kept : {"C:\\noad.gif", "http://example.org/a.gif", "   ", "noad.gif", ""}) {
        ASSERT_TRUE(MessengerFileName(place, kept, out)) << kept;
        EXPECT_EQ(out, kept);
    }
    ASSERT_TRUE(MessengerFileName(place, (data_ / "inner" / "n.gif").string(), out));
    EXPECT_EQ(out, "E:\\n.gif");
}

// Wine looks the folders of the path up as given: "lnk/.." is the folder above the link's
// target, and a root whose name ends in a dot is found by that name.
TEST_F(DrivePathTest, DotDotAfterALinkAndADotEndedRootAreTheDrivesWineFinds) {
    fs::create_directories(dir_.Path() / "real" / "sub");
    fs::create_directories(dir_.Path() / "t");
    fs::create_directory_symlink(dir_.Path() / "real" / "sub", dir_.Path() / "t" / "lnk");
    Link("b:", dir_.Path() / "real");
    EXPECT_EQ(Drive(dir_.Path().string() + "/t/lnk/../x.gif"), "B:\\x.gif");
    EXPECT_EQ(Drive(dir_.Path().string() + "/t/lnk/../sub/./y.gif"), "B:\\sub\\y.gif");
    fs::create_directories(dir_.Path() / "G.");
    Link("g:", dir_.Path() / "G.");
    EXPECT_EQ(Drive(dir_.Path().string() + "/G./x.gif"), "G:\\x.gif");
    std::string missing = dir_.Path().string() + "/t/gone/../x.gif";
    EXPECT_EQ(
        Drive(missing), "Z:" +
                            [&] {
                                std::string tidy = (dir_.Path() / "t" / "x.gif").string();
                                std::replace(tidy.begin(), tidy.end(), '/', '\\');
                                return tidy;
                            }())
        << "a folder that does not exist is not looked up";

    // Without dosdevices Wine makes C: (drive_c) and Z: (the root).
    fs::remove_all(prefix_ / "dosdevices");
    EXPECT_EQ(Drive(prefix_ / "drive_c" / "users" / "x.gif"), "C:\\users\\x.gif");
    EXPECT_EQ(Drive("/usr/share/x.gif"), "Z:\\usr\\share\\x.gif");
    fs::create_directories(prefix_ / "dosdevices");
    EXPECT_EQ(Drive("/usr/share/x.gif"), std::nullopt) << "an empty dosdevices has no drives";
}

TEST_F(DrivePathTest, NamesNoWindowsProgramCanOpenAreRefusedByNameAndCharacter) {
    const SettingsPlace place{prefix_, "Wine", SettingsPresence::kPresent};
    const std::pair<std::string, std::string> refused[] = {
        {"a*b.gif", "'*'"},
        {"q?.gif", "'?'"},
        {"l<.gif", "'<'"},
        {"g>.gif", "'>'"},
        {"p|.gif", "'|'"},
        {"d\"q.gif", "'\"'"},
        {"back\\slash.gif", "'\\'"},
        {"tab\t.gif", "a control character"},
        {"dot.gif.", "a dot at its end"},
        {"space.gif ", "a blank at its end"},
        {"\xff.gif", "not UTF-8"},
        {"\xc0\xaf.gif", "not UTF-8"},
        {"\xed\xa0\x80.gif", "not UTF-8"},
    };
    std::string out;
    for (const auto& [name, what] : refused) {
        for (const std::string& path :
             {(data_ / name).string(), (data_ / name / "x.gif").string()}) {
            const Result result = MessengerFileName(place, path, out);
            EXPECT_EQ(result.Kind(), ErrorKind::kInvalidArgument) << path;
            EXPECT_NE(result.Message().find("\"" + name + "\""), std::string::npos)
                << result.Message();
            EXPECT_NE(result.Message().find(what), std::string::npos) << result.Message();
            EXPECT_NE(result.Message().find("Nothing was changed"), std::string::npos);
        }
    }
    const std::pair<std::string, std::string> kept[] = {
        {"caf\xc3\xa9 \xf0\x9f\x99\x82.gif", "D:\\caf\xc3\xa9 \xf0\x9f\x99\x82.gif"},
        {"a..b.gif", "D:\\a..b.gif"},
        {"bad*/../ok.gif", "D:\\ok.gif"},
    };
    fs::create_directories(data_ / "bad*");
    for (const auto& [name, drivePath] : kept) {
        ASSERT_TRUE(MessengerFileName(place, data_.string() + "/" + name, out)) << name;
        EXPECT_EQ(out, drivePath);
    }
    fs::create_directories(dir_.Path() / "odd.");
    Link("o:", dir_.Path() / "odd.");
    ASSERT_TRUE(MessengerFileName(place, (dir_.Path() / "odd." / "x.gif").string(), out))
        << "the drive's own folder is no name the program sees";
    EXPECT_EQ(out, "O:\\x.gif");
}

TEST(FoldUnixPath, FoldsLikeWindowsNames) {
    EXPECT_EQ(FoldUnixPath("/tmp/a/../b.gif"), "/tmp/b.gif");
    EXPECT_EQ(FoldUnixPath("//tmp///x/."), "/tmp/x");
    EXPECT_EQ(FoldUnixPath("/tmp/dir./x.gif. "), "/tmp/dir/x.gif");
    EXPECT_EQ(FoldUnixPath("/tmp/dir/"), "/tmp/dir/");
    EXPECT_EQ(FoldUnixPath("/../.."), "/");
}

// A home with a prefix in the usual place of each launcher.
class DiscoveryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        MakeFakePrefix(Home() / ".wine", kWithoutMessenger);
        MakeFakePrefix(Data() / "wineprefixes" / "tricks", kWithoutMessenger);
        MakeFakePrefix(Home() / "Games" / "messenger", kWithMessenger);
        MakeFakePrefix(Home() / "Games" / "other" / "prefix", kWithoutMessenger);
        MakeFakePrefix(Data() / "bottles" / "bottles" / "Chat", kWithoutMessenger);
        MakeFakePrefix(Home() / ".PlayOnLinux" / "wineprefix" / "Old", kWithMessenger);
        MakeFakePrefix(Data() / "Steam" / "steamapps" / "compatdata" / "4711" / "pfx",
                       "[software\\\\YAHOO\\\\pager] 1700000000\n");
        fs::create_directories(Home() / ".steam");
        fs::create_directory_symlink(Data() / "Steam", Home() / ".steam" / "steam");
        MakeFakePrefix(Home() / ".cxoffice" / "bottle", kWithoutMessenger);
        // Looks like a prefix but is not one: no system.reg.
        MakeFakePrefix(Home() / "Games" / "half", kWithMessenger);
        fs::remove(Home() / "Games" / "half" / "system.reg");
    }
    fs::path Home() const { return dir_.Path() / "home"; }
    fs::path Data() const { return Home() / ".local" / "share"; }
    SearchRoots Roots() const { return {Home(), Data(), {}, {}}; }

    TempDir dir_;
};

TEST_F(DiscoveryTest, FindsEachLaunchersPrefixOnceWithItsSettings) {
    const std::vector<SettingsPlace> found = DiscoverPrefixes(Roots(), kMessengerKey);
    std::vector<std::string> seen;
    for (const SettingsPlace& p : found) {
        seen.push_back(p.origin + " " + p.folder.lexically_relative(Home()).string() +
                       (p.messenger == SettingsPresence::kPresent ? " +" : " -"));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "Wine .wine -",
                        "winetricks .local/share/wineprefixes/tricks -",
                        "Lutris Games/messenger +",
                        "Lutris Games/other/prefix -",
                        "Bottles .local/share/bottles/bottles/Chat -",
                        "PlayOnLinux .PlayOnLinux/wineprefix/Old +",
                        "Steam .local/share/Steam/steamapps/compatdata/4711/pfx +",
                        "CrossOver .cxoffice/bottle -",
                    }))
        << "the Steam prefix is not found a second time through ~/.steam/steam";
}

TEST_F(DiscoveryTest, UnreadableFoldersAndHivesAreSkippedOrMarked) {
    fs::permissions(Home() / ".cxoffice", fs::perms::none);
    fs::permissions(Home() / "Games" / "messenger" / "user.reg", fs::perms::none);
    for (fs::path p = Home(); p != dir_.Path().parent_path(); p = p.parent_path()) {
        fs::permissions(p, fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    }
    if (!test::UnprivilegedCanReach(Home()))
        GTEST_SKIP() << "an unprivileged user cannot reach " << Home() << " on this machine";
    // Permissions do not bind the superuser: look as an ordinary user.
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(test::kNobody) != 0 || setuid(test::kNobody) != 0))
            _exit(100);
        int code = 0;
        for (const SettingsPlace& p : DiscoverPrefixes(Roots(), kMessengerKey)) {
            if (p.origin == "CrossOver") code |= 1;
            if (p.folder.filename() == "messenger" && p.messenger != SettingsPresence::kUnreadable)
                code |= 2;
        }
        _exit(code);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: unreadable folder listed, 2: hive not marked";
}

class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST_F(DiscoveryTest, CommandLineThenEnvironmentThenTheOnePrefixWithSettings) {
    const ScopedEnv home("HOME", Home().c_str());
    const ScopedEnv data("XDG_DATA_HOME", nullptr);
    ScopedEnv prefix("WINEPREFIX", nullptr);

    PlaceSearch search = FindSettingsPlaces(std::nullopt, kMessengerKey);
    ASSERT_EQ(search.places.size(), 8u) << "three hold the settings: the user chooses";
    EXPECT_EQ(search.places[0].folder, Home() / "Games" / "messenger");
    EXPECT_EQ(search.places[2].origin, "Steam");
    EXPECT_EQ(search.places[3].messenger, SettingsPresence::kAbsent);

    fs::remove_all(Home() / ".PlayOnLinux");
    fs::remove_all(Data() / "Steam");
    search = FindSettingsPlaces(std::nullopt, kMessengerKey);
    ASSERT_EQ(search.places.size(), 1u);
    EXPECT_EQ(search.places[0].folder, Home() / "Games" / "messenger");
    EXPECT_EQ(search.places[0].origin, "Lutris");

    EXPECT_TRUE(search.settled);

    // None holds them: no guess, every prefix found is offered.
    fs::remove_all(Home() / "Games");
    search = FindSettingsPlaces(std::nullopt, kMessengerKey);
    ASSERT_EQ(search.places.size(), 4u);
    EXPECT_FALSE(search.settled);
    EXPECT_EQ(search.places[0].folder, Home() / ".wine");
    EXPECT_EQ(search.places[3].origin, "CrossOver");
    EXPECT_EQ(std::count_if(
                  search.places.begin(), search.places.end(),
                  [](const SettingsPlace& p) { return p.messenger == SettingsPresence::kPresent; }),
              0);
    EXPECT_NE(search.lookedIn.find("~/Games/*,"), std::string::npos) << search.lookedIn;
    EXPECT_NE(search.lookedIn.find("(Lutris)"), std::string::npos) << search.lookedIn;

    fs::remove_all(Home());
    search = FindSettingsPlaces(std::nullopt, kMessengerKey);
    EXPECT_TRUE(search.places.empty()) << "no prefix anywhere: nothing to write to";
    EXPECT_FALSE(search.lookedIn.empty());

    const ScopedEnv named("WINEPREFIX", (Home() / "wp").c_str());
    search = FindSettingsPlaces(std::nullopt, kMessengerKey);
    ASSERT_EQ(search.places.size(), 1u);
    EXPECT_EQ(search.places[0].folder, Home() / "wp");
    EXPECT_EQ(search.places[0].origin, "WINEPREFIX");
    search = FindSettingsPlaces(Home() / "cli", kMessengerKey);
    ASSERT_EQ(search.places.size(), 1u);
    EXPECT_EQ(search.places[0].folder, Home() / "cli");
}

}  // namespace
}  // namespace registry
