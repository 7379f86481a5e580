// Which prefix "Change" writes to, the messenger's names for the image, and what the user is told
// when a write is slow or half done: real prefixes in temporary folders, dialogs scripted.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "AppTestSupport.hpp"
#include "app/CommandLine.hpp"
#include "app/DesktopSession.hpp"
#include "app/PatchCommand.hpp"

namespace vornik::test {
namespace {

namespace fs = std::filesystem;
using registry::SettingsPresence;

const std::string kYurl = "Software\\Yahoo\\Pager\\yurl";
const std::string kOverview = "Software\\Yahoo\\Pager\\View\\YMSGR_Overview";

// Two prefixes that both hold the messenger's settings and a third that does not.
struct ThreePrefixes {
    TempPrefix first, second, third;
    MessengerTarget::Search Search() const {
        return [this] {
            return registry::PlaceSearch{{{first.Path(), "Lutris", SettingsPresence::kPresent},
                                          {second.Path(), "Bottles", SettingsPresence::kPresent},
                                          {third.Path(), "Wine", SettingsPresence::kAbsent}},
                                         "~/.wine"};
        };
    }
};

TEST(PrefixChoice, UserPicksOneOfSeveralBeforeAnythingIsWrittenAndOnlyOnce) {
    ThreePrefixes prefixes;
    WindowUnderTest t(prefixes.Search(), TestStores());
    t.dialogs.fileAnswers = {QStringLiteral("/srv/pics/noad.gif")};
    t.ClickBrowse();
    EXPECT_TRUE(t.dialogs.placeRequests.empty()) << "browsing asks for no prefix";
    EXPECT_EQ(t.window->Text1()->text(), QStringLiteral("/srv/pics/noad.gif"))
        << "converted once the prefix is known";

    t.dialogs.placeAnswers = {1};
    t.ClickChange();
    ASSERT_EQ(t.dialogs.placeRequests.size(), 1u);
    const auto& offered = t.dialogs.placeRequests[0];
    ASSERT_EQ(offered.size(), 3u);
    EXPECT_EQ(offered[1].folder, prefixes.second.Path());
    EXPECT_EQ(offered[1].origin, "Bottles");
    EXPECT_EQ(offered[2].messenger, SettingsPresence::kAbsent);
    EXPECT_EQ(prefixes.second.StringValue(kYurl, "Chat Adurl"), "Z:\\srv\\pics\\noad.gif");
    EXPECT_EQ(prefixes.first.HiveText(), InitialHiveText());
    EXPECT_EQ(prefixes.third.HiveText(), InitialHiveText());
    EXPECT_EQ(t.window->Text1()->text(), QStringLiteral("Z:\\srv\\pics\\noad.gif"))
        << "the window shows what was written";

    t.window->Check1()->setChecked(true);
    t.ClickChange();
    EXPECT_EQ(t.dialogs.placeRequests.size(), 1u) << "the pick holds for the rest of the run";
    EXPECT_EQ(prefixes.second.StringValue(kOverview, "Display Bmp"), "");
}

TEST(PrefixChoice, CancellingTheChoiceWritesNothingAnywhere) {
    ThreePrefixes prefixes;
    WindowUnderTest t(prefixes.Search(), TestStores());
    t.window->Check1()->setChecked(true);
    t.window->Text1()->setText(QStringLiteral("C:\\noad.gif"));
    t.dialogs.placeAnswers = {std::nullopt};
    t.ClickChange();
    EXPECT_EQ(t.dialogs.placeRequests.size(), 1u);
    EXPECT_TRUE(t.dialogs.boxes.empty());
    for (const TempPrefix* p : {&prefixes.first, &prefixes.second, &prefixes.third}) {
        EXPECT_EQ(p->HiveText(), InitialHiveText());
    }
    t.window->Check1()->setChecked(false);
    t.window->Text1()->clear();
    t.ClickChange();
    EXPECT_EQ(t.dialogs.placeRequests.size(), 1u) << "nothing to write: nothing to ask";
}

TEST(PrefixChoice, NoPrefixAnywhereSaysWhereVornikLookedAndHowToNameOne) {
    const fs::path missing = fs::temp_directory_path() / "vornik-app-no-home" / ".wine";
    WindowUnderTest t(
        [] {
            return registry::PlaceSearch{{}, "~/.wine, ~/Games/* (Lutris)"};
        },
        TestStores());
    t.window->Text1()->setText(QStringLiteral("C:\\noad.gif"));
    t.ClickChange();
    ASSERT_EQ(t.dialogs.boxes.size(), 1u);
    const std::string text = t.dialogs.boxes[0].text.toStdString();
    EXPECT_NE(text.find("looked for the messenger's settings in ~/.wine, ~/Games/* (Lutris)"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("vornik --prefix FOLDER"), std::string::npos) << text;
    EXPECT_EQ(text.find("WINEPREFIX"), std::string::npos) << text;
    EXPECT_FALSE(fs::exists(missing));
}

TEST(MessengerPaths, TypedPathIsConvertedAndOneNoDriveReachesIsRefused) {
    WindowUnderTest t;
    fs::create_directories(t.prefix.Path() / "drive_c" / "users");
    const fs::path inside = t.prefix.Path() / "drive_c" / "users" / "noad.gif";
    t.window->Text1()->setText(QString::fromStdString(inside.string()));
    t.ClickChange();
    EXPECT_EQ(t.prefix.StringValue(kYurl, "Finance Disclaimer"), "C:\\users\\noad.gif");

    fs::remove(t.prefix.Path() / "dosdevices" / "z:");
    const std::string before = t.prefix.HiveText();
    t.window->Check1()->setChecked(true);
    t.window->Text1()->setText(QStringLiteral("/usr/share/vornik/noad.gif"));
    t.ClickChange();
    ASSERT_EQ(t.dialogs.boxes.size(), 2u);
    EXPECT_EQ(t.dialogs.boxes[1].icon, BoxIcon::kCritical);
    EXPECT_TRUE(t.dialogs.boxes[1].text.contains(QStringLiteral("\"/usr/share/vornik/noad.gif\"")))
        << t.dialogs.boxes[1].text.toStdString();
    EXPECT_EQ(t.prefix.HiveText(), before) << "not even the tab is blanked";

    t.dialogs.fileAnswers = {QStringLiteral("/usr/share/vornik/noad.gif")};
    t.ClickBrowse();
    EXPECT_EQ(t.dialogs.boxes.size(), 3u) << "refused at once";
    EXPECT_EQ(t.window->Text1()->text(), QStringLiteral("/usr/share/vornik/noad.gif"));
}

// Every descriptor is in use once the new hive is complete: the rename needs none, the flush of
// the folder cannot open it. The limit is given back by the test.
class DescriptorsRunOut {
  public:
    DescriptorsRunOut() { getrlimit(RLIMIT_NOFILE, &saved_); }
    ~DescriptorsRunOut() { setrlimit(RLIMIT_NOFILE, &saved_); }
    DescriptorsRunOut(const DescriptorsRunOut&) = delete;
    DescriptorsRunOut& operator=(const DescriptorsRunOut&) = delete;
    std::function<void()> Hook() const {
        return [limit = saved_] {
            const int lowest = open("/dev/null", O_RDONLY);
            close(lowest);
            rlimit low = limit;
            low.rlim_cur = static_cast<rlim_t>(lowest);
            setrlimit(RLIMIT_NOFILE, &low);
        };
    }

  private:
    rlimit saved_{};
};

TEST(HonestReports, FailedFolderFlushSaysTheValuesAreInTheRegistryNow) {
    TempPrefix prefix;
    std::optional<DescriptorsRunOut> runOut(std::in_place);
    registry::WineHiveStore::Options options;
    options.beforeReplace = runOut->Hook();
    WindowUnderTest t(OnePlace(prefix.Path()), StoreWith(options));
    t.window->Text1()->setText(QStringLiteral("C:\\noad.gif"));
    t.ClickChange();
    // The limit back before the window's own prefix is removed, which needs descriptors.
    runOut.reset();
    rlimit restored{};
    getrlimit(RLIMIT_NOFILE, &restored);
    ASSERT_EQ(t.dialogs.boxes.size(), 1u);
    const QString text = t.dialogs.boxes[0].text;
    EXPECT_EQ(t.dialogs.boxes[0].icon, BoxIcon::kCritical);
    EXPECT_FALSE(text.contains(QStringLiteral("Nothing was changed"))) << text.toStdString();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Wrote the 13 banner addresses")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("The registry holds the new values now.")));
    EXPECT_EQ(prefix.StringValue(kYurl, "Chat Adurl"), "C:\\noad.gif");
}

TEST(HonestReports, RollbackThatLeftValuesBehindNamesThemAndNotNothingChanged) {
    const PatchWrite writes[] = {{std::string(kOverviewTabKey), "Display Bmp", ""}};
    const std::string text = DescribeFailure(
        writes, registry::Result::Failure(registry::ErrorKind::kAccessDenied,
                                          "Could not store the value. Some earlier parts of this "
                                          "change could not be put back and remain in the "
                                          "registry: \"Display Bmp\": Access denied.",
                                          registry::Aftermath::kPartlyChanged));
    EXPECT_EQ(text.find("Nothing was changed"), std::string::npos) << text;
    EXPECT_NE(text.find("remain in the registry"), std::string::npos) << text;
}

TEST(BusyWindow, LockedHiveLeavesTheWindowAnsweringAndTakesNoInputMeanwhile) {
    WindowUnderTest t;
    const int holder = open(t.prefix.Hive().c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(flock(holder, LOCK_EX), 0);
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longestGap = 0;
    bool busyCursor = false;
    bool released = false;
    QTimer ticker;
    ticker.setInterval(20);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, clock.elapsed() - last);
        last = clock.elapsed();
        if (QApplication::overrideCursor()) {
            busyCursor = busyCursor || QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        }
        if (last > 300 && !released) {
            released = flock(holder, LOCK_UN) == 0;
            t.ClickHelp();  // swallowed: the change is still being written
        }
    });
    t.window->Text1()->setText(QStringLiteral("C:\\noad.gif"));
    clock.start();
    ticker.start();
    t.ClickChange();
    ticker.stop();
    close(holder);
    EXPECT_TRUE(released);
    EXPECT_GE(clock.elapsed(), 300);
    EXPECT_LT(longestGap, 500) << "the window stopped answering";
    EXPECT_TRUE(busyCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    ASSERT_EQ(t.dialogs.boxes.size(), 1u) << "the help click was not taken";
    EXPECT_EQ(t.dialogs.boxes[0].text, QStringLiteral("Patch Complete!"));
    EXPECT_EQ(t.prefix.StringValue(kYurl, "Chat Adurl"), "C:\\noad.gif");
}

TEST(BlankImage, LiesBesideTheProgramAndIsTransparentThroughout) {
    const fs::path build = VORNIK_BUILD_DIR;
    const fs::path folder = BlankImageFolder(build / "app");
    ASSERT_EQ(folder, build / "share" / "vornik");
    EXPECT_EQ(BlankImageFolder(build / "no-such-folder" / "bin"), fs::path());
    const QImage image(QString::fromStdString((folder / "noad.gif").string()), "GIF");
    ASSERT_FALSE(image.isNull());
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) EXPECT_EQ(qAlpha(image.pixel(x, y)), 0);
    }
}

CommandLine Parse(std::vector<std::string> args, bool prefixAllowed = true) {
    args.insert(args.begin(), "vornik");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int argc = static_cast<int>(args.size());
    CommandLine line = ParseCommandLine(argc, argv.data(), prefixAllowed);
    if (line.action == CommandLine::Action::kRun) {
        EXPECT_EQ(argv[static_cast<std::size_t>(argc)], nullptr);
        for (int i = 1; i < argc; ++i) {
            EXPECT_FALSE(std::string_view(argv[static_cast<std::size_t>(i)]).starts_with("--"));
        }
    }
    return line;
}

TEST(CommandLineOptions, PrefixHelpVersionAndMistakes) {
    using Action = CommandLine::Action;
    EXPECT_EQ(Parse({"--prefix", "/p q"}).prefix, fs::path("/p q"));
    EXPECT_EQ(Parse({"-platform", "offscreen", "--prefix=/games/x"}).prefix, fs::path("/games/x"));
    EXPECT_EQ(Parse({}).prefix, std::nullopt);
    EXPECT_EQ(Parse({"--version"}).action, Action::kVersion);
    EXPECT_EQ(Parse({"--version", "--help"}).action, Action::kHelp);
    for (const auto& wrong : std::vector<std::vector<std::string>>{
             {"--prefix"}, {"--prefix="}, {"--prefix", "a", "--prefix", "b"}, {"--frob"}}) {
        EXPECT_EQ(Parse(wrong).action, Action::kError) << wrong[0];
    }
    EXPECT_EQ(Parse({"--prefix", "/p"}, false).action, Action::kError);
    EXPECT_NE(UsageText(true).find("--prefix FOLDER"), std::string::npos);
    EXPECT_EQ(UsageText(false).find("--prefix"), std::string::npos);
}

}  // namespace
}  // namespace vornik::test
