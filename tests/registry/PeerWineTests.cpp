// Wine itself as the reader: values written through the hive store must come back from Wine's
// own "reg export" exactly, and Wine must write them back out the way we wrote them.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <thread>
#include <vector>

#include "TestHive.hpp"
#include "app/registry/DrivePath.hpp"
#include "app/registry/HiveText.hpp"
#include "app/registry/Registry.hpp"
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
        for (const char* drive : {"d:", "e:"}) fs::remove(Drive(drive), ignored);
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

}  // namespace
}  // namespace registry
