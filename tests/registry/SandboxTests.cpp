// Prefixes whose Wine runs in a sandbox: a file the sandbox cannot see is copied into the prefix
// and named by its C: path; nothing is overwritten, nothing copied that the sandbox sees.
#include <gtest/gtest.h>

#include <cstdlib>

#include "TestHive.hpp"
#include "app/registry/Sandbox.hpp"
#include "app/registry/SettingsPlace.hpp"

namespace registry {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

class SandboxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const char* home = std::getenv("HOME")) oldHome_ = home;
        setenv("HOME", Home().c_str(), 1);
        fs::create_directories(dir_.Path() / "pics");
        WriteFile(Picture(), "GIF89a one");
    }
    void TearDown() override {
        if (oldHome_) {
            setenv("HOME", oldHome_->c_str(), 1);
        } else {
            unsetenv("HOME");
        }
    }
    fs::path Home() const { return dir_.Path() / "home"; }
    fs::path Picture() const { return dir_.Path() / "pics" / "noad.gif"; }
    static SettingsPlace MakePrefix(const fs::path& folder) {
        fs::create_directories(folder / "drive_c");
        fs::create_directories(folder / "dosdevices");
        fs::create_symlink("../drive_c", folder / "dosdevices" / "c:");
        fs::create_symlink("/", folder / "dosdevices" / "z:");
        return {folder, "test", SettingsPresence::kPresent};
    }
    static std::string Unix(std::string path) {
        std::replace(path.begin(), path.end(), '/', '\\');
        return "Z:" + path;
    }

    TempDir dir_;
    std::optional<std::string> oldHome_;
};

TEST_F(SandboxTest, FlatpakPrefixGetsACopyUnderDriveCAndNothingIsOverwritten) {
    const fs::path app = Home() / ".var" / "app" / "com.usebottles.bottles";
    const SettingsPlace place = MakePrefix(app / "data" / "bottles" / "bottles" / "Chat");
    std::string out;
    ASSERT_TRUE(MessengerFileName(place, Picture().string(), out, FileNameUse::kShow));
    EXPECT_EQ(out, Picture().string()) << "shown as it is until it is written";
    EXPECT_FALSE(fs::exists(place.folder / "drive_c" / "vornik"));

    ASSERT_TRUE(MessengerFileName(place, Picture().string(), out));
    EXPECT_EQ(out, "C:\\vornik\\noad.gif");
    EXPECT_EQ(ReadFile(place.folder / "drive_c" / "vornik" / "noad.gif"), "GIF89a one");
    ASSERT_TRUE(MessengerFileName(place, Picture().string(), out));
    EXPECT_EQ(out, "C:\\vornik\\noad.gif") << "the same bytes: the copy is used again";

    fs::create_directories(dir_.Path() / "other");
    WriteFile(dir_.Path() / "other" / "noad.gif", "GIF89a two");
    ASSERT_TRUE(MessengerFileName(place, (dir_.Path() / "other" / "noad.gif").string(), out));
    EXPECT_EQ(out, "C:\\vornik\\noad (2).gif");
    EXPECT_EQ(ReadFile(place.folder / "drive_c" / "vornik" / "noad.gif"), "GIF89a one");

    // What the sandbox sees at the same path is named, not copied.
    WriteFile(app / "seen.gif", "GIF89a");
    ASSERT_TRUE(MessengerFileName(place, (app / "seen.gif").string(), out));
    EXPECT_EQ(out, Unix((app / "seen.gif").string()));

    const Result missing =
        MessengerFileName(place, (dir_.Path() / "pics" / "gone.gif").string(), out);
    EXPECT_FALSE(missing);
    EXPECT_NE(missing.Message().find("gone.gif"), std::string::npos);
    EXPECT_NE(missing.Message().find("Nothing was changed"), std::string::npos);
    EXPECT_FALSE(fs::exists(place.folder / "drive_c" / "vornik" / "gone.gif"));
}

TEST_F(SandboxTest, SnapAndSteamSeeTheirOwnAndPlainPrefixesEverything) {
    const SettingsPlace snap = MakePrefix(Home() / "snap" / "steam" / "common" / "pfx");
    const SettingsPlace steam =
        MakePrefix(dir_.Path() / "lib" / "steamapps" / "compatdata" / "7" / "pfx");
    const SettingsPlace plain = MakePrefix(Home() / "Games" / "chat");
    fs::create_directories(Home() / "Pictures");
    WriteFile(Home() / "Pictures" / "a.gif", "GIF89a");
    std::string out;
    ASSERT_TRUE(MessengerFileName(snap, (Home() / "Pictures" / "a.gif").string(), out));
    EXPECT_EQ(out, "C:\\vornik\\a.gif");
    ASSERT_TRUE(MessengerFileName(steam, (Home() / "Pictures" / "a.gif").string(), out));
    EXPECT_EQ(out, Unix((Home() / "Pictures" / "a.gif").string()))
        << "Steam's container has the home";
    ASSERT_TRUE(MessengerFileName(steam, Picture().string(), out));
    EXPECT_EQ(out, "C:\\vornik\\noad.gif") << "but not the rest of this system";
    ASSERT_TRUE(MessengerFileName(plain, Picture().string(), out));
    EXPECT_EQ(out, Unix(Picture().string()));
    EXPECT_FALSE(fs::exists(plain.folder / "drive_c" / "vornik"));

    // A link put where the copies go is not followed out of the prefix.
    const SettingsPlace linked = MakePrefix(Home() / ".var" / "app" / "x.y" / "pfx");
    fs::create_directory_symlink(dir_.Path() / "pics", linked.folder / "drive_c" / "vornik");
    EXPECT_FALSE(MessengerFileName(linked, Picture().string(), out));
    EXPECT_EQ(ReadFile(Picture()), "GIF89a one");
}

}  // namespace
}  // namespace registry
