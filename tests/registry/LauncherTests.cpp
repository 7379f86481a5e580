// The launchers' own layouts and files on a fake home: every prefix they make or name is found
// once under the launcher's name, and a damaged file only names fewer prefixes.
#include <gtest/gtest.h>

#include "TestHive.hpp"
#include "app/registry/LauncherFiles.hpp"
#include "app/registry/PrefixDiscovery.hpp"

namespace registry {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::WriteFile;

void MakeFakePrefix(const fs::path& folder) {
    fs::create_directories(folder / "drive_c");
    WriteFile(folder / "system.reg", "WINE REGISTRY Version 2\n");
    WriteFile(folder / "user.reg", "WINE REGISTRY Version 2\n\n");
}

void WriteText(const fs::path& file, std::string_view text) {
    fs::create_directories(file.parent_path());
    WriteFile(file, text);
}

class LauncherLayouts : public ::testing::Test {
  protected:
    fs::path Home() const { return dir_.Path() / "home"; }
    fs::path Away() const { return dir_.Path() / "elsewhere"; }
    std::vector<std::string> Found() const {
        std::vector<std::string> seen;
        const SearchRoots roots{Home(), {}, {}, dir_.Path() / "tricks"};
        for (const SettingsPlace& p : DiscoverPrefixes(roots, "Software\\Yahoo\\Pager")) {
            const fs::path shown = p.folder.lexically_relative(dir_.Path());
            seen.push_back(p.origin + " " + shown.string());
        }
        return seen;
    }
    TempDir dir_;
};

TEST_F(LauncherLayouts, EveryLayoutAndEveryPrefixALauncherFileNamesIsFoundOnce) {
    const fs::path heroic = Home() / "Games" / "Heroic" / "Prefixes";
    MakeFakePrefix(heroic / "default" / "Fortnite");
    MakeFakePrefix(heroic / "default" / "Proton Game" / "pfx");
    MakeFakePrefix(Away() / "heroic-own");
    MakeFakePrefix(Away() / "heroic-proton" / "pfx");
    WriteText(Home() / ".config" / "heroic" / "GamesConfig" / "a.json",
              R"({"Fortnite": {"winePrefix": "~/Games/Heroic/Prefixes/default/Fortnite"},
                  "Other": {"wineVersion": {"name": "x"}, "winePrefix" : ")" +
                  Away().string() + R"(\/heroic-own"}})");
    // Cut off in the middle, and a file that is not JSON at all.
    WriteText(Home() / ".config" / "heroic" / "GamesConfig" / "b.json",
              R"({"Proton": {"winePrefix": ")" + (Away() / "heroic-proton").string() +
                  R"(", "wineVersion": {"type": "pro)");
    WriteText(Home() / ".config" / "heroic" / "GamesConfig" / "c.json", "\x01\xff{{{\"winePrefix");
    // A NUL would end the path early where the system reads it: the name is no prefix.
    MakeFakePrefix(Away() / "heroic-cut");
    WriteText(Home() / ".config" / "heroic" / "GamesConfig" / "d.json",
              R"({"Cut": {"winePrefix": ")" + (Away() / "heroic-cut").string() + R"(\u0000/x"}})");
    MakeFakePrefix(Away() / "heroic-moved" / "Game");
    WriteText(Home() / ".config" / "heroic" / "config.json",
              R"({"defaultSettings": {"defaultWinePrefix": ")" +
                  (Away() / "heroic-moved").string() + R"("}})");

    MakeFakePrefix(Away() / "lutris-own");
    MakeFakePrefix(Away() / "lutris-old");
    MakeFakePrefix(Home() / "Games" / "gog" / "some-game");  // installed through a service
    WriteText(Home() / ".config" / "lutris" / "games" / "chat-1.yml",
              "game:\n  exe: x.exe\n  prefix: '" + (Away() / "lutris-own").string() +
                  "'  # set by hand\nwine:\n  prefix: /not/this/one\n");
    WriteText(Home() / ".config" / "lutris" / "games" / "broken.yml", "game: [\n  prefix:\n\t- :");
    WriteText(Home() / ".local" / "share" / "lutris" / "games" / "old.yml",
              "game:\n  prefix: " + (Away() / "lutris-old").string() + "\n");

    MakeFakePrefix(Away() / "bottle-on-disk");
    WriteText(Home() / ".local/share/bottles/bottles/Chat/placeholder.yml",
              "Path: \"" + (Away() / "bottle-on-disk").string() + "\"\n");

    MakeFakePrefix(Away() / "SteamLibrary" / "steamapps" / "compatdata" / "7" / "pfx");
    WriteText(Home() / ".local/share/Steam/steamapps/libraryfolders.vdf",
              "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" +
                  (Home() / ".local/share/Steam").string() +
                  "\"\n\t}\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"" + (Away() / "SteamLibrary").string() +
                  "\"\n\t\t\"apps\"\n\t\t{\n\t\t\t\"7\" \"1\"\n");
    MakeFakePrefix(Home() / ".local/share/Steam/steamapps/compatdata/5/pfx");
    MakeFakePrefix(Home() / "snap/steam/common/.local/share/Steam/steamapps/compatdata/8/pfx");
    MakeFakePrefix(Home() /
                   ".var/app/com.valvesoftware.Steam/data/Steam/steamapps/compatdata/9/pfx");
    WriteText(Home() / "snap/steam/common/.local/share/Steam/steamapps/libraryfolders.vdf",
              "\"LibraryFolders\" { \"1\" \"" + (Away() / "SteamLibrary").string() + "\" \"2\" \"");
    MakeFakePrefix(dir_.Path() / "tricks" / "msgr");

    EXPECT_EQ(Found(), (std::vector<std::string>{
                           "winetricks tricks/msgr",
                           "Heroic home/Games/Heroic/Prefixes/default/Fortnite",
                           "Heroic home/Games/Heroic/Prefixes/default/Proton Game/pfx",
                           "Heroic elsewhere/heroic-own",
                           "Heroic elsewhere/heroic-proton/pfx",
                           "Heroic elsewhere/heroic-moved/Game",
                           "Lutris elsewhere/lutris-own",
                           "Lutris home/Games/gog/some-game",
                           "Bottles elsewhere/bottle-on-disk",
                           "Steam home/.local/share/Steam/steamapps/compatdata/5/pfx",
                           "Steam elsewhere/SteamLibrary/steamapps/compatdata/7/pfx",
                           "Steam home/.var/app/com.valvesoftware.Steam/data/Steam/steamapps/"
                           "compatdata/9/pfx",
                           "Steam home/snap/steam/common/.local/share/Steam/steamapps/compatdata/"
                           "8/pfx",
                       }))
        << "Lutris' data folder is read only when its configuration folder is missing";

    fs::remove_all(Home() / ".config" / "lutris");
    const std::vector<std::string> found = Found();
    EXPECT_NE(std::find(found.begin(), found.end(), "Lutris elsewhere/lutris-old"), found.end());
    EXPECT_EQ(std::find(found.begin(), found.end(), "Lutris elsewhere/lutris-own"), found.end());

    const std::string looked = DescribeSearchedPlaces({Home(), {}, {}, {}});
    for (const char* place : {"~/Games/Heroic/Prefixes/default/*",
                              "the prefixes named in ~/.config/heroic/GamesConfig/*.json",
                              "the prefixes named in ~/.local/share/lutris/games/*.yml",
                              "the libraries listed in "
                              "~/snap/steam/common/.local/share/Steam/steamapps/libraryfolders.vdf",
                              "~/.local/share/wineprefixes/* (winetricks)"}) {
        EXPECT_NE(looked.find(place), std::string::npos) << place << " in " << looked;
    }
}

TEST(LauncherFiles, ValuesComeOutOfDamagedAndForeignText) {
    EXPECT_EQ(JsonStringValues(R"({"a":{"winePrefix":"/x/caf\u00e9 \"q\""},"winePrefix":"/y",)"
                               R"("b":"winePrefix","winePrefix":3,"winePrefix":"/z)",
                               "winePrefix"),
              (std::vector<std::string>{"/x/caf\xc3\xa9 \"q\"", "/y"}))
        << "a value that is a key's name, a number and a cut-off string are no prefixes";
    EXPECT_TRUE(JsonStringValues("\"winePrefix\\u12", "winePrefix").empty());

    const std::string lutris =
        "# made by hand\ngame:\n    args: \"a: b\"\n    prefix: \"/p q/\\u00e9\"\n"
        "    nested:\n        prefix: /deeper\nsystem:\n    prefix: /other\n";
    EXPECT_EQ(YamlValue(lutris, "game", "prefix"), "/p q/\xc3\xa9");
    // YAML's own escapes, as a Python writer uses them for what is not ASCII.
    EXPECT_EQ(YamlValue("game:\n  prefix: \"/caf\\xE9\\_\\U0001F3AE\\\t\\/x\"\n", "game", "prefix"),
              "/caf\xc3\xa9\xc2\xa0\xf0\x9f\x8e\xae\t/x");
    EXPECT_EQ(YamlValue("Path: \"/a\\q\"\n", "", "Path"), std::nullopt) << "no such escape";
    EXPECT_EQ(YamlValue("game:\n  nested:\n    prefix: /deeper\n", "game", "prefix"), std::nullopt);
    EXPECT_EQ(YamlValue("game:\nprefix: /top\n", "game", "prefix"), std::nullopt);
    EXPECT_EQ(YamlValue("Path: 'it''s here' # c\r\nName: x\r\n", "", "Path"), "it's here");
    EXPECT_EQ(YamlValue("Path: [a, b]\n", "", "Path"), std::nullopt);
    EXPECT_EQ(YamlValue("\x00\xff:\n", "", "Path"), std::nullopt);

    EXPECT_EQ(VdfLibraryPaths("// libraries\n\"libraryfolders\" { \"0\" { \"PATH\" \"/a\\\\b\" "
                              "\"label\" \"/not\" } \"contentstatsid\" \"-1\" \"1\" \"/old\" }"),
              (std::vector<std::string>{"/a\\b", "/old"}));
    EXPECT_TRUE(VdfLibraryPaths("{{{ \"path\" ").empty());
}

}  // namespace
}  // namespace registry
