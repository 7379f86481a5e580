// Wine itself as the reader: values written through the hive store must come back from Wine's
// own "reg export" exactly, and Wine must write them back out the way we wrote them.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <thread>
#include <vector>

#include "TestHive.hpp"
#include "app/registry/DrivePath.hpp"
#include "app/registry/HiveText.hpp"
#include "app/registry/Registry.hpp"
#include "app/registry/SettingsPlace.hpp"
#include "app/registry/WineHiveStore.hpp"
#include "app/registry/WineServerProbe.hpp"

namespace registry {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using Values = std::map<std::string, std::string>;  // value name -> data as reg export shows it

// "reg export" escapes only backslash, quote, LF and CR inside quotes.
std::string Unexport(std::string_view quoted, std::size_t& pos) {
    std::string out;
    for (++pos; pos < quoted.size() && quoted[pos] != '"'; ++pos) {
        if (quoted[pos] == '\\' && pos + 1 < quoted.size()) {
            const char e = quoted[++pos];
            out += e == 'n' ? '\n' : e == 'r' ? '\r' : e;
        } else {
            out += quoted[pos];
        }
    }
    ++pos;
    return out;
}

// Values of every key in a UTF-16 file written by "wine reg export", keyed by path below HKCU.
std::map<std::string, Values> ReadExport(const fs::path& file) {
    const std::string bytes = ReadFile(file);
    std::u16string text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                      (static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    const std::string utf8 = Utf16ToUtf8(text);
    std::map<std::string, Values> keys;
    std::string key;
    for (std::size_t start = 0; start < utf8.size();) {
        std::size_t end = utf8.find("\r\n", start);
        if (end == std::string::npos) end = utf8.size();
        const std::string_view line(utf8.data() + start, end - start);
        start = end + 2;
        if (line.starts_with("[HKEY_CURRENT_USER\\")) {
            key = std::string(line.substr(19, line.size() - 20));
        } else if (line.starts_with("\"") || line.starts_with("@=")) {
            std::size_t pos = 0;
            const std::string name = line[0] == '@' ? "" : Unexport(line, pos);
            ++pos;  // '='
            keys[key][name] = line.substr(pos).starts_with("\"") ? Unexport(line, pos)
                                                                 : std::string(line.substr(pos));
        }
    }
    return keys;
}

class WinePeer : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* dir = std::getenv("VORNIK_WINE_PEER_DIR");
        if (!dir || !*dir) {
            GTEST_SKIP() << "VORNIK_WINE_PEER_DIR is not set: run these through ctest, whose "
                            "fixture makes the Wine prefix";
        }
        dir_ = dir;
        if (fs::exists(dir_ / "UNAVAILABLE")) {
            GTEST_SKIP() << "Wine cannot run here: " << ReadFile(dir_ / "UNAVAILABLE");
        }
        prefix_ = dir_ / "prefix";
        ASSERT_TRUE(fs::exists(prefix_ / "user.reg"));
        ASSERT_FALSE(ProbeWineServer(prefix_, "/tmp").running) << "the server must be stopped";
    }

    // Runs a command with this prefix's Wine, then waits until its server has saved and gone.
    void Wine(const std::string& arguments) {
        const std::string env =
            "cd '" + dir_.string() + "' && WINEPREFIX='" + prefix_.string() + "' WINEDEBUG=-all ";
        ASSERT_EQ(std::system((env + "wine " + arguments + " > /dev/null 2>&1").c_str()), 0)
            << arguments;
        ASSERT_EQ(std::system((env + "wineserver -w").c_str()), 0);
    }

    std::map<std::string, Values> Export(const std::string& key) {
        const fs::path file = dir_ / "export.reg";
        fs::remove(file);
        Wine("reg export 'HKCU\\" + key + "' '" + file.string() + "' /y");
        return ReadExport(file);
    }

    // The server is found through its process; holding off a starting one would leave folders
    // in the real /tmp, so the store keeps its server folders in the peer's own.
    Registry Writer() {
        WineHiveStore::Options options;
        options.serverRoot = dir_ / "server-folders";
        return Registry(std::make_unique<WineHiveStore>(prefix_, options));
    }

    fs::path dir_;
    fs::path prefix_;
};

TEST_F(WinePeer, PatchCommandValuesReadBackThroughWineReg) {
    // The messenger may have left a number where the banner URL goes.
    Wine(R"(reg add 'HKCU\Software\Yahoo\Pager\yurl' /v 'Chat Adurl' /t REG_DWORD /d 5 /f)");
    const std::string image =
        "C:\\Users\\\xd0\x90\xd0\xbd\xd0\xb0\\My \"ads\"\\noad \xf0\x9f\x99\x82.gif";
    const char* banners[] = {"Chat Adurl",
                             "Conf Adurl",
                             "Webcam Viewer Ad",
                             "Webcam Viewer Ad Big",
                             "Webcam Viewer Ad Medium",
                             "Webcam Upload Ad",
                             "Change Room Banner",
                             "Personals Alert Ad URL",
                             "News Alert Ad URL",
                             "Mail Alert Ad URL",
                             "IMVironment Ad URL",
                             "Calendar Alert Ad URL",
                             "Finance Disclaimer"};
    Registry registry = Writer();
    Transaction change = registry.Begin();
    for (const char* tab : {"YMSGR_Overview", "YMSGR_AddressBook"}) {
        ASSERT_TRUE(change.SetStringValue(kHkeyCurrentUser,
                                          std::string("Software\\Yahoo\\Pager\\View\\") + tab,
                                          "Display Bmp", ""));
    }
    for (const char* name : banners) {
        ASSERT_TRUE(
            change.SetStringValue(kHkeyCurrentUser, "Software\\Yahoo\\Pager\\yurl", name, image));
    }
    const Result committed = change.Commit();
    ASSERT_TRUE(committed) << committed.Message();

    const auto keys = Export("Software\\Yahoo");
    EXPECT_EQ(keys.at("Software\\Yahoo\\Pager\\View\\YMSGR_Overview"),
              (Values{{"Display Bmp", ""}}));
    EXPECT_EQ(keys.at("Software\\Yahoo\\Pager\\View\\YMSGR_AddressBook"),
              (Values{{"Display Bmp", ""}}));
    Values expected;
    for (const char* name : banners) expected[name] = image;
    EXPECT_EQ(keys.at("Software\\Yahoo\\Pager\\yurl"), expected);
}

TEST_F(WinePeer, EscapedTextComesBackExactlyAndWineRewritesItAsWeWroteIt) {
    const std::vector<std::pair<std::string, std::string>> values = {
        {"q\"\\[]=", "quote \" backslash \\ brackets [x] equals a=b"},
        {"Tab\tName",
         "tab\there\x01"
         "5\x1b"},
        {"Lines", "line1\r\nline2\nline3"},
        {"caf\xc3\xa9",
         "\xc3\xa9"
         "a \xc3\xa9g \xe4\xb8\xad\xe6\x96\x87 \xf0\x9f\x99\x82"
         "f"},
        {"[Software\\Evil] 1", "\"x\"=\"y\""},
    };
    Registry registry = Writer();
    Transaction change = registry.Begin();
    for (const auto& [name, data] : values) {
        ASSERT_TRUE(
            change.SetStringValue(kHkeyCurrentUser, "Software\\Vornik Peer\\A]b[c", name, data));
    }
    ASSERT_TRUE(change.Commit());
    const std::string ours =
        test::SectionText(ReadFile(prefix_ / "user.reg"), "Software\\\\Vornik Peer\\\\A\\]b\\[c");
    ASSERT_FALSE(ours.empty());

    const auto keys = Export("Software\\Vornik Peer");
    const Values& read = keys.at("Software\\Vornik Peer\\A]b[c");
    EXPECT_EQ(read.size(), values.size());
    for (const auto& [name, data] : values) EXPECT_EQ(read.at(name), data) << name;

    // Make Wine save the whole hive from memory: our section must come out unchanged.
    Wine(R"(reg add 'HKCU\Software\Vornik Peer Dirty' /v x /d y /f)");
    EXPECT_EQ(
        test::SectionText(ReadFile(prefix_ / "user.reg"), "Software\\\\Vornik Peer\\\\A\\]b\\[c"),
        ours);
}

TEST_F(WinePeer, RunningServerIsRefusedAndTheHiveKept) {
    const std::string env = "WINEPREFIX='" + prefix_.string() + "' ";
    ASSERT_EQ(std::system((env + "wineserver -p30").c_str()), 0);
    for (int i = 0; i < 100 && !ProbeWineServer(prefix_, "/tmp").running; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    const std::string before = ReadFile(prefix_ / "user.reg");
    const Result result =
        Writer().SetStringValue(kHkeyCurrentUser, "Software\\Vornik Peer", "While running", "1");
    std::system((env + "wineserver -k; " + env + "wineserver -w").c_str());
    EXPECT_EQ(result.Kind(), ErrorKind::kServerRunning) << result.Message();
    EXPECT_EQ(ReadFile(prefix_ / "user.reg"), before);
}

// What Wine's own winepath answers for each path, one line each (\\?\unix\... when no
// drive reaches it).
std::vector<std::string> WinePath(const fs::path& prefix, const std::vector<std::string>& paths) {
    std::string command =
        "cd /tmp && LC_ALL=C.UTF-8 WINEDEBUG=-all WINEPREFIX='" + prefix.string() + "' winepath -w";
    for (const std::string& path : paths) command += " '" + path + "'";
    // Nothing to save: stop the server at once instead of waiting for it to linger out.
    const std::string server = "WINEPREFIX='" + prefix.string() + "' wineserver ";
    command += " 2>/dev/null; " + server + "-k; " + server + "-w";
    std::vector<std::string> lines;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return lines;
    std::string line;
    for (int c; (c = std::fgetc(pipe)) != EOF;) {
        if (c != '\n') {
            line += static_cast<char>(c);
            continue;
        }
        lines.push_back(line);
        line.clear();
    }
    pclose(pipe);
    return lines;
}

// The drives of the peer prefix, extended for one test by nested drives and a linked home.
class WinePeerDrives : public WinePeer {
  protected:
    void SetUp() override {
        WinePeer::SetUp();
        if (IsSkipped()) return;
        data_ = dir_ / "drives" / "caf\xc3\xa9";
        fs::create_directories(data_ / "inner" / "deep");
        fs::create_directories(prefix_ / "drive_c" / "users" / "Public");
        fs::create_directory_symlink(data_, dir_ / "drives" / "home-link");
        fs::create_symlink(data_, Drive("d:"));
        fs::create_symlink(data_ / "inner", Drive("e:"));
    }
    void TearDown() override {
        std::error_code ignored;
        for (const char* drive : {"b:", "d:", "e:", "g:"}) fs::remove(Drive(drive), ignored);
        if (!fs::exists(Drive("z:"), ignored)) fs::create_symlink("/", Drive("z:"), ignored);
        fs::remove_all(dir_ / "drives", ignored);
    }
    fs::path Drive(const char* name) const { return prefix_ / "dosdevices" / name; }

    void ExpectSameAsWine(const std::vector<std::string>& paths) {
        const std::vector<std::string> wine = WinePath(prefix_, paths);
        ASSERT_EQ(wine.size(), paths.size());
        for (std::size_t i = 0; i < paths.size(); ++i) {
            const std::optional<std::string> ours = DrivePathInPrefix(prefix_, paths[i]);
            if (wine[i].starts_with("\\\\?\\unix")) {
                EXPECT_EQ(ours, std::nullopt) << paths[i] << " -> " << wine[i];
            } else {
                EXPECT_EQ(ours, wine[i]) << paths[i];
            }
        }
    }

    fs::path data_;
};

TEST_F(WinePeerDrives, DrivePathsAreTheOnesWineGives) {
    const std::string data = data_.string();
    ExpectSameAsWine({
        (prefix_ / "drive_c" / "users" / "Public" / "noad.gif").string(),
        (prefix_ / "drive_c").string() + "/",
        data + "/noad.gif",
        data + "/inner/deep/noad \xe2\x9c\x93 \xd0\xb0.gif",
        (dir_ / "drives" / "home-link" / "inner" / "x.gif").string(),
        data + "/inner/../elsewhere//y.gif",
        data + "/inner/.",
        "/usr/share/vornik/noad.gif",
        "/",
    });
    fs::remove(Drive("z:"));
    ExpectSameAsWine({"/usr/share/vornik/noad.gif", data + "/inner/x.gif"});
}

TEST_F(WinePeerDrives, DotDotAfterALinkAndARootEndingInADotAreWinesDrives) {
    const fs::path drives = dir_ / "drives";
    fs::create_directories(drives / "real" / "sub");
    fs::create_directories(drives / "t");
    fs::create_directories(drives / "G.");
    fs::create_directory_symlink(drives / "real" / "sub", drives / "t" / "lnk");
    fs::create_symlink(drives / "real", Drive("b:"));
    fs::create_symlink(drives / "G.", Drive("g:"));
    const std::string t = (drives / "t").string();
    ExpectSameAsWine({
        t + "/lnk/../x.gif",
        t + "/lnk/../sub/./y.gif",
        t + "/gone/../z.gif",
        (drives / "G.").string() + "/x.gif",
        (drives / "G.").string() + "/in./x.gif.",
    });
}

// What a Windows program gets when it opens each name: `type` of every file through cmd, in one
// batch file. None of the names Vornik refuses opens; the plain one beside them does.
TEST_F(WinePeer, NamesRefusedAreNamesWineCannotOpen) {
    const fs::path folder = dir_ / "names";
    fs::remove_all(folder);
    fs::create_directories(folder / "dir.");
    const std::vector<std::string> names = {
        "a*b.gif",  "q?.gif",          "l<.gif",   "g>.gif",     "p|.gif",
        "d\"q.gif", "back\\slash.gif", "dot.gif.", "space.gif ", "dir./x.gif"};
    const SettingsPlace place{prefix_, "Wine", SettingsPresence::kPresent};
    std::string batch = "@echo off\r\n";
    const auto windowsName = [](std::string path) {
        std::replace(path.begin(), path.end(), '/', '\\');
        return "Z:" + path;
    };
    for (std::size_t i = 0; i < names.size(); ++i) {
        const fs::path file = folder / names[i];
        test::WriteFile(file, "content-" + std::to_string(i) + "\r\n");
        std::string out;
        EXPECT_FALSE(MessengerFileName(place, file.string(), out)) << names[i] << " -> " << out;
        batch += "type \"" + windowsName(file.string()) + "\"\r\n";
    }
    test::WriteFile(folder / "ok.gif", "content-ok\r\n");
    batch += "type \"" + windowsName((folder / "ok.gif").string()) + "\"\r\n";
    test::WriteFile(folder / "t.bat", batch);

    const std::string env =
        "cd '" + dir_.string() + "' && WINEPREFIX='" + prefix_.string() + "' WINEDEBUG=-all ";
    const std::string command = env + "wine cmd /c '" + windowsName((folder / "t.bat").string()) +
                                "' 2>/dev/null; " + env + "wineserver -w";
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    for (int c; (c = std::fgetc(pipe)) != EOF;) output += static_cast<char>(c);
    pclose(pipe);
    EXPECT_NE(output.find("content-ok"), std::string::npos) << output;
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(output.find("content-" + std::to_string(i) + "\r"), std::string::npos)
            << "Wine opened " << names[i];
    }
    fs::remove_all(folder);
}

// Gives this (forked) process a /tmp of its own, as a sandbox has. The prefix stays where it is
// even when it lies under /tmp (a build folder there): its folder, opened before, is bound back
// onto its own path inside the new /tmp.
bool GivePrivateTmp(const fs::path& prefix) {
    if (unshare(CLONE_NEWNS) != 0 ||
        mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        return false;
    }
    // Opened inside the new namespace: a bind takes its source from this namespace's mounts.
    const int folder = open(prefix.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0 || mount("tmpfs", "/tmp", "tmpfs", 0, nullptr) != 0) return false;
    std::error_code error;
    fs::create_directories(prefix, error);
    const std::string source = "/proc/self/fd/" + std::to_string(folder);
    return mount(source.c_str(), prefix.c_str(), nullptr, MS_BIND, nullptr) == 0;
}

// Whether this machine lets us give a process its own /tmp (root, or user namespaces).
bool PrivateTmpWorks() {
    return std::system(
               "unshare --mount --propagation private sh -c "
               "'mount -t tmpfs tmpfs /tmp' > /dev/null 2>&1") == 0;
}

// A server in a sandbox keeps its folder in the sandbox's own /tmp, where the host never looks.
TEST_F(WinePeer, ServerWithAPrivateTmpIsFoundThroughItsProcessAndRefused) {
    if (!PrivateTmpWorks()) GTEST_SKIP() << "unshare --mount is not allowed here";
    const pid_t server = fork();
    if (server == 0) {
        setenv("WINEPREFIX", prefix_.c_str(), 1);
        if (!GivePrivateTmp(prefix_)) _exit(100);
        execlp("wineserver", "wineserver", "-f", "-p30", static_cast<char*>(nullptr));
        _exit(127);
    }
    bool found = false;
    for (int i = 0; i < 200 && !found; ++i) {
        found = FindServerProcess(prefix_, "/proc").running;
        if (!found) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    const fs::path noProcesses = dir_ / "no-processes";
    fs::create_directories(noProcesses);
    const bool hostSees = ProbeWineServer(prefix_, ServerPlaces{"/tmp", noProcesses}).running;
    const std::string before = ReadFile(prefix_ / "user.reg");
    const Result result =
        Writer().SetStringValue(kHkeyCurrentUser, "Software\\Vornik Peer", "Sandboxed", "1");
    const std::string after = ReadFile(prefix_ / "user.reg");
    kill(server, SIGTERM);
    int status = 0;
    waitpid(server, &status, 0);
    fs::remove_all(noProcesses);
    ASSERT_TRUE(found) << "the server did not start";
    EXPECT_FALSE(hostSees) << "its folder should be out of the host's sight";
    EXPECT_EQ(result.Kind(), ErrorKind::kServerRunning) << result.Message();
    EXPECT_NE(result.Message().find("wineserver process"), std::string::npos) << result.Message();
    EXPECT_EQ(after, before);
}

// A server that starts while the block is held gives way at once; once it is let go, one starts.
// Run with a /tmp of its own, so that the folders Wine and the block make go with it.
TEST_F(WinePeer, ServerCannotStartWhileItsLockIsHeld) {
    if (!PrivateTmpWorks()) GTEST_SKIP() << "unshare --mount is not allowed here";
    const pid_t child = fork();
    if (child == 0) {
        if (!GivePrivateTmp(prefix_)) _exit(100);
        const std::string env = "WINEPREFIX='" + prefix_.string() + "' WINEDEBUG=-all ";
        int code = 0;
        {
            const ServerStartBlock block = ServerStartBlock::Take(prefix_, "/tmp");
            if (block.HeldLocks() == 0 || block.Status().running) _exit(101);
            const int blocked = std::system((env + "wineserver -f -p0 2>/dev/null").c_str());
            if (!WIFEXITED(blocked) || WEXITSTATUS(blocked) == 0) code |= 1;
            if (FindServerProcess(prefix_, "/proc").running) code |= 2;
        }
        if (std::system((env + "wineserver -p5").c_str()) != 0) code |= 4;
        bool started = false;
        for (int i = 0; i < 100 && !started; ++i) {
            started = FindServerProcess(prefix_, "/proc").running;
            if (!started) usleep(50000);
        }
        if (!started) code |= 8;
        if (std::system((env + "wineserver -k; " + env + "wineserver -w").c_str()) != 0) code |= 16;
        _exit(code);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0)
        << "100: no private /tmp, 101: no lock held, 1: the server started anyway, 2: it runs, "
           "4/8: none started afterwards, 16: it could not be stopped";
}

}  // namespace
}  // namespace registry
