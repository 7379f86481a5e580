// The Registry module as the patch command uses it: checked arguments, one commit per change.
#include <gtest/gtest.h>

#include <cstdlib>

#include "TestHive.hpp"
#include "app/registry/Registry.hpp"
#include "app/registry/WineHiveStore.hpp"

namespace registry {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::ValueLine;

constexpr std::string_view kYurl = "Software\\\\Yahoo\\\\Pager\\\\yurl";

class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override { test::MakePrefix(prefix_, test::WinebootHive()); }

    Registry Make() {
        WineHiveStore::Options options;
        options.serverRoot = dir_.Path();
        options.beforeReplace = [this] { ++replacements_; };
        return Registry(std::make_unique<WineHiveStore>(prefix_, options));
    }

    std::string Hive() const { return ReadFile(prefix_ / "user.reg"); }

    test::TempDir dir_;
    fs::path prefix_ = dir_.Path() / "prefix";
    int replacements_ = 0;
};

TEST_F(RegistryTest, OnlyTheCurrentUserRootIsServed) {
    Registry registry = Make();
    const std::string before = Hive();
    for (const std::uint32_t root : {0x80000000u, 0x80000002u, 0x80000003u, 0u}) {
        const Result result = registry.SetStringValue(root, "Software\\A", "v", "d");
        EXPECT_EQ(result.Kind(), ErrorKind::kUnsupportedRoot);
        EXPECT_NE(result.Message().find("HKEY_CURRENT_USER"), std::string::npos);
    }
    EXPECT_EQ(Hive(), before);
    EXPECT_TRUE(registry.SetStringValue(kHkeyCurrentUser, "Software\\A", "v", "d"));
}

TEST_F(RegistryTest, RefusesTextThatCannotBeStored) {
    Registry registry = Make();
    const std::string before = Hive();
    const std::string longName(256, 'k');
    for (const std::string_view path :
         std::initializer_list<std::string_view>{"", "\\Software", "Software\\", "Software\\\\A",
                                                 "Software\\\xc3", std::string_view(longName)}) {
        EXPECT_EQ(registry.SetStringValue(kHkeyCurrentUser, path, "v", "d").Kind(),
                  ErrorKind::kInvalidArgument)
            << path;
    }
    EXPECT_EQ(registry.SetStringValue(kHkeyCurrentUser, "A", "v", "\xff").Kind(),
              ErrorKind::kInvalidArgument);
    EXPECT_EQ(Hive(), before);
}

TEST_F(RegistryTest, TransactionWritesEverythingOnceOrNothing) {
    Registry registry = Make();
    Transaction change = registry.Begin();
    EXPECT_TRUE(change.SetStringValue(
        kHkeyCurrentUser, "Software\\Yahoo\\Pager\\View\\YMSGR_Overview", "Display Bmp", ""));
    for (int i = 0; i < 14; ++i) {
        EXPECT_TRUE(change.SetStringValue(kHkeyCurrentUser, "Software\\Yahoo\\Pager\\yurl",
                                          "Ad " + std::to_string(i), "\xd0\x90 \xf0\x9f\x99\x82"));
    }
    EXPECT_EQ(Hive(), test::WinebootHive()) << "nothing before the commit";
    ASSERT_TRUE(change.Commit());
    EXPECT_EQ(replacements_, 1);
    EXPECT_EQ(ValueLine(Hive(), kYurl, "Ad 13"), "\"Ad 13\"=\"\\x410 \\xd83d\\xde42\"");
    EXPECT_EQ(change.Commit().Kind(), ErrorKind::kInvalidArgument) << "a commit is spent";

    const std::string before = Hive();
    Transaction refused = registry.Begin();
    EXPECT_TRUE(refused.SetStringValue(kHkeyCurrentUser, "Software\\B", "v", "1"));
    EXPECT_FALSE(refused.SetStringValue(0x80000002u, "Software\\B", "w", "2"));
    EXPECT_EQ(refused.Commit().Kind(), ErrorKind::kUnsupportedRoot);
    EXPECT_EQ(Hive(), before);

    EXPECT_TRUE(registry.Begin().Commit()) << "an empty change succeeds";
    EXPECT_EQ(replacements_, 1) << "without touching the file";
}

TEST_F(RegistryTest, CurrentUserPrefixComesFromTheEnvironment) {
    const char* saved = std::getenv("WINEPREFIX");
    const std::string savedValue = saved ? saved : "";
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("WINEPREFIX", prefix_.c_str(), 1);
    EXPECT_EQ(WineHiveStore::DefaultPrefix(), prefix_);
    setenv("WINEPREFIX", "", 1);
    setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(WineHiveStore::DefaultPrefix(), fs::path("/home/someone/.wine"));
    setenv("HOME", savedHome.c_str(), 1);
    if (saved)
        setenv("WINEPREFIX", savedValue.c_str(), 1);
    else
        unsetenv("WINEPREFIX");
}

}  // namespace
}  // namespace registry
