// The "Change" command against a real user hive in a temporary Wine prefix, read back from the
// file.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <QCheckBox>
#include <QLineEdit>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "AppTestSupport.hpp"
#include "app/PatchCommand.hpp"

namespace vornik::test {
namespace {

const std::string kOverview = "Software\\Yahoo\\Pager\\View\\YMSGR_Overview";
const std::string kAddressBook = "Software\\Yahoo\\Pager\\View\\YMSGR_AddressBook";
const std::string kYurl = "Software\\Yahoo\\Pager\\yurl";

const char* const kBannerNames[] = {
    "Chat Adurl",
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
    "Finance Disclaimer",
};

void ExpectAllBanners(const TempPrefix& prefix, const std::string& location) {
    for (const char* name : kBannerNames) {
        EXPECT_EQ(prefix.StringValue(kYurl, name), location) << name;
    }
}

void ExpectConfirmation(const MessageBoxRequest& box) {
    EXPECT_EQ(box.text, QStringLiteral("Are You Sure You Wish To Restore The Tabs?"));
    EXPECT_EQ(box.title, QStringLiteral("Vornik"));
    EXPECT_EQ(box.buttons, BoxButtons::kYesNo);
    EXPECT_EQ(box.icon, BoxIcon::kNone);
}

void ExpectPatchComplete(const MessageBoxRequest& box) {
    EXPECT_EQ(box.text, QStringLiteral("Patch Complete!"));
    EXPECT_EQ(box.title, QStringLiteral("Vornik"));
    EXPECT_EQ(box.buttons, BoxButtons::kOk);
    EXPECT_EQ(box.icon, BoxIcon::kInformation);
}

TEST(PatchCommand, NothingChosenWritesNothingAndShowsNothing) {
    WindowUnderTest t;
    t.ClickChange();
    EXPECT_EQ(t.prefix.HiveText(), InitialHiveText());
    EXPECT_TRUE(t.dialogs.boxes.empty());
}

TEST(PatchCommand, RemovingTabsWithoutImageBlanksTheirBitmapsQuietly) {
    WindowUnderTest t;
    t.window->Check1()->setChecked(true);
    t.ClickChange();
    EXPECT_EQ(t.prefix.StringValue(kOverview, "Display Bmp"), "");
    EXPECT_FALSE(t.prefix.Key(kAddressBook).has_value());
    EXPECT_EQ(t.prefix.StringValue(kYurl, "Other Setting"), "keep me");
    EXPECT_FALSE(t.prefix.StringValue(kYurl, "Chat Adurl").has_value()) << "old number kept";
    EXPECT_TRUE(t.dialogs.boxes.empty());

    t.window->Check2()->setChecked(true);
    t.ClickChange();
    EXPECT_EQ(t.prefix.StringValue(kOverview, "Display Bmp"), "");
    EXPECT_EQ(t.prefix.StringValue(kAddressBook, "Display Bmp"), "");
    EXPECT_TRUE(t.dialogs.boxes.empty());
}

TEST(PatchCommand, ImageLocationGoesIntoEveryBannerThenPatchComplete) {
    WindowUnderTest t;
    t.window->Text1()->setText(QStringLiteral("C:\\Images\\noad.gif"));
    t.ClickChange();
    ExpectAllBanners(t.prefix, "C:\\Images\\noad.gif");
    EXPECT_EQ(t.prefix.Key(kYurl)->at("chat adurl"), "\"C:\\\\Images\\\\noad.gif\"")
        << "the number is replaced by a string";
    EXPECT_EQ(t.prefix.StringValue(kYurl, "Other Setting"), "keep me");
    EXPECT_FALSE(t.prefix.Key(kOverview).has_value());
    ASSERT_EQ(t.dialogs.boxes.size(), 1u);
    ExpectPatchComplete(t.dialogs.boxes[0]);
    // The command reads the controls; it does not change them.
    EXPECT_EQ(t.window->Text1()->text(), QStringLiteral("C:\\Images\\noad.gif"));
}

TEST(PatchCommand, RestoreAnsweredNoWritesOnlyTheBanners) {
    WindowUnderTest t;
    t.window->Check3()->setChecked(true);
    t.window->Text1()->setText(QStringLiteral("D:\\noad.gif"));
    t.dialogs.answers = {BoxAnswer::kNo};
    t.ClickChange();
    EXPECT_FALSE(t.prefix.Key(kOverview).has_value());
    EXPECT_FALSE(t.prefix.Key(kAddressBook).has_value());
    ExpectAllBanners(t.prefix, "D:\\noad.gif");
    ASSERT_EQ(t.dialogs.boxes.size(), 2u);
    ExpectConfirmation(t.dialogs.boxes[0]);
    ExpectPatchComplete(t.dialogs.boxes[1]);
    EXPECT_TRUE(t.window->Check3()->isChecked());
}

TEST(PatchCommand, RestoreAnsweredYesRestoresBothTabsWithoutMessage) {
    WindowUnderTest t;
    t.window->Check1()->setChecked(true);
    t.window->Check2()->setChecked(true);
    t.ClickChange();
    t.window->Check1()->setChecked(false);
    t.window->Check2()->setChecked(false);
    t.window->Check3()->setChecked(true);
    t.dialogs.answers = {BoxAnswer::kYes};
    t.ClickChange();
    EXPECT_EQ(t.prefix.StringValue(kOverview, "Display Bmp"), "YView\\siren.bmp");
    EXPECT_EQ(t.prefix.StringValue(kAddressBook, "Display Bmp"), "YView\\addressbook.bmp");
    EXPECT_EQ(t.prefix.Key(kYurl)->at("chat adurl"), "dword:00000001");
    ASSERT_EQ(t.dialogs.boxes.size(), 1u);
    ExpectConfirmation(t.dialogs.boxes[0]);
}

TEST(PatchCommand, BlanksAreALocationAndAreWrittenAsTyped) {
    WindowUnderTest t;
    t.window->Text1()->setText(QStringLiteral("   "));
    t.ClickChange();
    ExpectAllBanners(t.prefix, "   ");
    ASSERT_EQ(t.dialogs.boxes.size(), 1u);
    ExpectPatchComplete(t.dialogs.boxes[0]);
}

TEST(PatchCommand, CharactersOutsideAnyAnsiCodePageAreStoredExactly) {
    WindowUnderTest t;
    const std::string location =
        "C:\\users\\\xd0\xbd\xd0\xbe\xd0\xb0\xd0\xb4\\\xe5\xb9\xbf\xe5\x91\x8a "
        "caf\xc3\xa9\xf0\x9f\x98\x80\"q\".gif";
    t.window->Text1()->setText(QString::fromStdString(location));
    t.ClickChange();
    ExpectAllBanners(t.prefix, location);
    ASSERT_EQ(t.dialogs.boxes.size(), 1u);
    ExpectPatchComplete(t.dialogs.boxes[0]);
}

TEST(PatchCommand, SameCommandTwiceLeavesTheSameValues) {
    WindowUnderTest t;
    t.window->Check1()->setChecked(true);
    t.window->Check2()->setChecked(true);
    t.window->Text1()->setText(QStringLiteral("C:\\noad.gif"));
    t.ClickChange();
    const auto overview = t.prefix.Key(kOverview);
    const auto addressBook = t.prefix.Key(kAddressBook);
    const auto yurl = t.prefix.Key(kYurl);
    t.ClickChange();
    EXPECT_EQ(t.prefix.Key(kOverview), overview);
    EXPECT_EQ(t.prefix.Key(kAddressBook), addressBook);
    EXPECT_EQ(t.prefix.Key(kYurl), yurl);
    EXPECT_EQ(yurl->size(), 14u) << "thirteen banners and the unrelated value";
    EXPECT_EQ(t.dialogs.boxes.size(), 2u);
}

TEST(PatchCommand, BannerValuesAreSetInTheirFixedOrderAfterTheTabs) {
    PatchChoices choices;
    choices.removeOverviewTab = true;
    choices.restoreTabs = true;
    choices.imageLocation = "x";
    const std::vector<PatchWrite> writes = PlanPatch(choices);
    ASSERT_EQ(writes.size(), 3u + 13u);
    EXPECT_EQ(writes[0].data, "");
    EXPECT_EQ(writes[1].data, "YView\\siren.bmp");
    EXPECT_EQ(writes[2].data, "YView\\addressbook.bmp");
    for (std::size_t i = 0; i < 13; ++i) {
        EXPECT_EQ(writes[3 + i].keyPath, kYurl);
        EXPECT_EQ(writes[3 + i].valueName, kBannerNames[i]);
    }
}

// A failed write is reported with what and why, never followed by "Patch Complete!", and leaves
// the hive exactly as it was.
class FailedPatch : public ::testing::Test {
  protected:
    static void ExpectOneFailureNaming(const ScriptedDialogs& dialogs,
                                       const std::string& expectedReason) {
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        const MessageBoxRequest& box = dialogs.boxes[0];
        EXPECT_EQ(box.title, QStringLiteral("Vornik"));
        EXPECT_EQ(box.icon, BoxIcon::kCritical);
        EXPECT_EQ(box.buttons, BoxButtons::kOk);
        EXPECT_NE(box.text, QStringLiteral("Patch Complete!"));
        EXPECT_TRUE(box.text.startsWith(QStringLiteral("Could not write ")));
        EXPECT_TRUE(
            box.text.contains(QStringLiteral("the 13 banner addresses "
                                             "(HKEY_CURRENT_USER\\Software\\Yahoo\\"
                                             "Pager\\yurl)")))
            << box.text.toStdString();
        EXPECT_TRUE(box.text.contains(QString::fromStdString(expectedReason)))
            << box.text.toStdString();
        EXPECT_EQ(box.text.count(QStringLiteral("Nothing was changed")), 1)
            << box.text.toStdString();
    }
};

TEST_F(FailedPatch, MissingPrefixIsReportedInsteadOfPatchComplete) {
    const std::filesystem::path missing =
        std::filesystem::temp_directory_path() / "vornik-app-no-such-prefix" / "wine";
    WindowUnderTest t(missing);
    t.window->Check1()->setChecked(true);
    t.window->Text1()->setText(QStringLiteral("C:\\noad.gif"));
    t.ClickChange();
    ExpectOneFailureNaming(t.dialogs, missing.string());
    EXPECT_TRUE(
        t.dialogs.boxes[0].text.contains(QStringLiteral("\"Display Bmp\" of the Overview tab")));
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(FailedPatch, DamagedHiveIsLeftAsItWas) {
    WindowUnderTest t;
    const std::string damaged = InitialHiveText() + "[Software\\\\Broken\n\"no\"=\"end\n";
    t.prefix.WriteHive(damaged);
    t.window->Text1()->setText(QStringLiteral("C:\\noad.gif"));
    t.ClickChange();
    ExpectOneFailureNaming(t.dialogs, "");
    EXPECT_EQ(t.prefix.HiveText(), damaged);
}

// A wineserver serving the prefix answers on its socket; it would overwrite the file from memory.
class ListeningWineServer {
  public:
    explicit ListeningWineServer(const std::filesystem::path& prefix) {
        std::filesystem::create_directories(ServerFoldersOf(prefix));
        std::string root = (ServerFoldersOf(prefix) / "wine-XXXXXX").string();
        if (mkdtemp(root.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        folder_ = root;
        struct stat info {};
        stat(prefix.c_str(), &info);
        char leaf[64];
        std::snprintf(leaf, sizeof(leaf), "server-%llx-%llx",
                      static_cast<unsigned long long>(info.st_dev),
                      static_cast<unsigned long long>(info.st_ino));
        const std::filesystem::path serverDir = folder_ / leaf;
        std::filesystem::create_directory(serverDir);
        std::ofstream(prefix / "wineserver") << folder_.filename().string() << "\n";

        socket_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path = (serverDir / "socket").string();
        std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
        if (bind(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
            listen(socket_, 4) != 0) {
            throw std::runtime_error("cannot listen on " + path);
        }
    }
    ~ListeningWineServer() {
        close(socket_);
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    ListeningWineServer(const ListeningWineServer&) = delete;
    ListeningWineServer& operator=(const ListeningWineServer&) = delete;

  private:
    std::filesystem::path folder_;
    int socket_ = -1;
};

TEST_F(FailedPatch, RunningWineServerIsReportedAndTheHiveLeftAlone) {
    WindowUnderTest t;
    const ListeningWineServer server(t.prefix.Path());
    t.window->Check2()->setChecked(true);
    t.window->Text1()->setText(QStringLiteral("C:\\noad.gif"));
    t.ClickChange();
    ExpectOneFailureNaming(t.dialogs, "");
    EXPECT_TRUE(
        t.dialogs.boxes[0].text.contains(QStringLiteral("\"Display Bmp\" of the Address "
                                                        "book tab")));
    EXPECT_TRUE(t.dialogs.boxes[0].text.contains(QStringLiteral("socket")))
        << t.dialogs.boxes[0].text.toStdString();
    EXPECT_EQ(t.prefix.HiveText(), InitialHiveText());
}

TEST_F(FailedPatch, UnwritablePrefixChangesNothing) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    WindowUnderTest t;
    std::filesystem::permissions(t.prefix.Path(),
                                 std::filesystem::perms::owner_write |
                                     std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    std::filesystem::permissions(t.prefix.Hive(), std::filesystem::perms::owner_read,
                                 std::filesystem::perm_options::replace);
    t.window->Text1()->setText(QStringLiteral("C:\\noad.gif"));
    t.ClickChange();
    ExpectOneFailureNaming(t.dialogs, "");
    EXPECT_EQ(t.prefix.HiveText(), InitialHiveText());
}

}  // namespace
}  // namespace vornik::test
