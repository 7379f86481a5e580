// When the search cannot tell where the settings are, "Change" asks and writes nothing until the
// user picks; a prefix in a sandbox gets the image copied where its Wine can open it.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "AppTestSupport.hpp"
#include "app/PlaceChooser.hpp"

namespace vornik::test {
namespace {

namespace fs = std::filesystem;
using registry::SettingsPresence;

const std::string kYurl = "Software\\Yahoo\\Pager\\yurl";

std::string ReadText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Prefixes that hold none of the messenger's settings yet.
struct NoHolder {
    TempPrefix first, second, own;
    MessengerTarget::Search Search() const {
        return [this] {
            return registry::PlaceSearch{{{first.Path(), "Wine", SettingsPresence::kAbsent},
                                          {second.Path(), "Heroic", SettingsPresence::kAbsent}},
                                         "~/.wine, ~/Games/Heroic/Prefixes/* (Heroic)"};
        };
    }
};

TEST(NoHolder, ChangeAsksWhichPrefixAndCancellingWritesNothing) {
    NoHolder prefixes;
    WindowUnderTest t(prefixes.Search(), TestStores());
    t.window->Check1()->setChecked(true);
    t.window->Text1()->setText(QStringLiteral("C:\\noad.gif"));
    t.dialogs.placeAnswers = {std::nullopt};
    t.ClickChange();
    ASSERT_EQ(t.dialogs.placeRequests.size(), 1u) << "no guess: the user is asked";
    const auto& offered = t.dialogs.placeRequests[0];
    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(offered[1].origin, "Heroic");
    for (const auto& place : offered) EXPECT_EQ(place.messenger, SettingsPresence::kAbsent);
    EXPECT_TRUE(t.dialogs.boxes.empty());
    EXPECT_EQ(prefixes.first.HiveText(), InitialHiveText());
    EXPECT_EQ(prefixes.second.HiveText(), InitialHiveText());

    t.dialogs.placeAnswers = {1};
    t.ClickChange();
    ASSERT_EQ(t.dialogs.placeRequests.size(), 2u) << "asked again after a cancel";
    EXPECT_EQ(prefixes.second.StringValue(kYurl, "Chat Adurl"), "C:\\noad.gif");
    EXPECT_EQ(prefixes.first.HiveText(), InitialHiveText());
}

TEST(NoHolder, AFolderOfTheUsersOwnIsWhatGetsWritten) {
    NoHolder prefixes;
    WindowUnderTest t(
        [&] {
            // One prefix, without the settings: still asked, never used on its own.
            return registry::PlaceSearch{
                {{prefixes.first.Path(), "Wine", SettingsPresence::kAbsent}}, "~/.wine"};
        },
        TestStores(),
        [](const fs::path& folder) {
            return registry::SettingsPlace{folder, "chosen folder", SettingsPresence::kAbsent};
        });
    t.window->Text1()->setText(QStringLiteral("C:\\noad.gif"));
    t.dialogs.placeAnswers = {registry::PlacePick(prefixes.own.Path())};
    t.ClickChange();
    ASSERT_EQ(t.dialogs.placeRequests.size(), 1u);
    EXPECT_EQ(prefixes.own.StringValue(kYurl, "Finance Disclaimer"), "C:\\noad.gif");
    EXPECT_EQ(prefixes.first.HiveText(), InitialHiveText());
    ASSERT_EQ(t.dialogs.boxes.size(), 1u);
    EXPECT_EQ(t.dialogs.boxes[0].text, QStringLiteral("Patch Complete!"));
}

TEST(NoHolder, ChooserSaysNoneHoldsTheSettingsAndTakesAFolder) {
    NoHolder prefixes;
    const registry::SettingsPlace places[] = {
        {prefixes.first.Path(), "Wine", SettingsPresence::kAbsent},
        {prefixes.second.Path(), "Lutris", SettingsPresence::kUnreadable}};
    PlaceChooser chooser(places, nullptr, [](QWidget*) { return QStringLiteral("/games/mine"); });
    EXPECT_TRUE(chooser.Question()->text().startsWith(QStringLiteral("None of the Wine prefixes")))
        << chooser.Question()->text().toStdString();
    ASSERT_EQ(chooser.List()->topLevelItemCount(), 2);
    EXPECT_EQ(chooser.List()->topLevelItem(0)->text(2), QStringLiteral("not found"));
    EXPECT_EQ(chooser.List()->topLevelItem(1)->text(1), QStringLiteral("Lutris"));
    EXPECT_EQ(chooser.Picked()->index, 0u) << "the first row is the default";
    chooser.ChooseFolder();
    EXPECT_EQ(chooser.result(), QDialog::Accepted);
    ASSERT_TRUE(chooser.Picked().has_value());
    EXPECT_EQ(chooser.Picked()->index, std::nullopt);
    EXPECT_EQ(chooser.Picked()->folder, fs::path("/games/mine"));

    const registry::SettingsPlace holders[] = {
        {prefixes.first.Path(), "Wine", SettingsPresence::kPresent},
        {prefixes.second.Path(), "Bottles", SettingsPresence::kPresent}};
    const PlaceChooser several(holders);
    EXPECT_TRUE(several.Question()->text().contains(QStringLiteral("more than one")));
}

class ScopedHome {
  public:
    explicit ScopedHome(const fs::path& home) {
        if (const char* old = std::getenv("HOME")) old_ = old;
        setenv("HOME", home.c_str(), 1);
    }
    ~ScopedHome() {
        if (old_) {
            setenv("HOME", old_->c_str(), 1);
        } else {
            unsetenv("HOME");
        }
    }
    ScopedHome(const ScopedHome&) = delete;
    ScopedHome& operator=(const ScopedHome&) = delete;

  private:
    std::optional<std::string> old_;
};

// Bottles as a Flatpak: its Wine sees its own /usr, so the shipped blank image is copied into
// the prefix, and the window shows and writes the copy's name.
TEST(SandboxedPrefix, ShippedImageIsCopiedIntoThePrefixAndTheCopyNamed) {
    TempPrefix scratch;
    const fs::path home = scratch.Path() / "home";
    const fs::path prefix = home / ".var/app/com.usebottles.bottles/data/bottles/bottles/Messenger";
    fs::create_directories(prefix / "drive_c");
    fs::create_directories(prefix / "dosdevices");
    fs::create_symlink("../drive_c", prefix / "dosdevices" / "c:");
    fs::create_symlink("/", prefix / "dosdevices" / "z:");
    std::ofstream(prefix / "user.reg", std::ios::binary) << InitialHiveText();
    const ScopedHome inHome(home);
    const fs::path shipped = fs::path(VORNIK_BUILD_DIR) / "share" / "vornik" / "noad.gif";

    WindowUnderTest t(OnePlace(prefix), TestStores());
    t.dialogs.fileAnswers = {QString::fromStdString(shipped.string())};
    t.ClickBrowse();
    EXPECT_EQ(t.window->Text1()->text().toStdString(), shipped.string())
        << "nothing is copied until Change";
    EXPECT_FALSE(fs::exists(prefix / "drive_c" / "vornik"));

    t.ClickChange();
    EXPECT_EQ(t.window->Text1()->text(), QStringLiteral("C:\\vornik\\noad.gif"));
    EXPECT_EQ(ReadText(prefix / "drive_c" / "vornik" / "noad.gif"), ReadText(shipped));
    EXPECT_NE(ReadText(prefix / "user.reg").find("\"Chat Adurl\"=\"C:\\\\vornik\\\\noad.gif\""),
              std::string::npos);
    ASSERT_EQ(t.dialogs.boxes.size(), 1u);
    EXPECT_EQ(t.dialogs.boxes[0].text, QStringLiteral("Patch Complete!"));
}

}  // namespace
}  // namespace vornik::test
