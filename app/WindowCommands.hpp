// What the Vornik window says and does, free of any toolkit: its texts, the rules between its
// check boxes and the "Change" command. The Qt window and the Win32 window read their controls
// into these types and ask the user through a BoxPrompter of their own.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/registry/SettingsPlace.hpp"

namespace registry {
class Registry;
}  // namespace registry

namespace vornik {

class MessengerTarget;

inline constexpr std::string_view kAppTitle = "Vornik";
inline constexpr std::string_view kHelpTitle = "Help";
inline constexpr std::string_view kRestoreQuestion = "Are You Sure You Wish To Restore The Tabs?";
inline constexpr std::string_view kPatchComplete = "Patch Complete!";
// What the window and its picture say to screen readers beyond their own texts.
inline constexpr std::string_view kWindowDescription =
    "Hides the messenger's tabs and replaces its banners with an image";
inline constexpr std::string_view kPictureName = "Vornik logo";
inline constexpr std::string_view kPictureDescription =
    "An advertising banner struck through by a red ring";
// The open-file dialog's choices as "Description|pattern|" pairs.
inline constexpr std::string_view kBrowseFilterText =
    "Gif Files|*.gif|Jpg Files|*.jpg|All Files|*.*|";

// The help box's text, paragraphs separated by CR LF CR LF (UTF-8).
std::string HelpMessage();

enum class BoxButtons { kOk, kYesNo };
enum class BoxIcon { kNone, kInformation, kCritical };
enum class BoxAnswer { kOk, kYes, kNo };

struct BoxText {
    std::string text;  // UTF-8, lines broken by CR LF
    std::string title;
    BoxButtons buttons = BoxButtons::kOk;
    BoxIcon icon = BoxIcon::kNone;
};

// Shows one modal box and waits for the answer: a Yes/No box answers kYes or kNo however it is
// closed, an OK box kOk.
class BoxPrompter {
  public:
    virtual ~BoxPrompter() = default;
    virtual BoxAnswer Ask(const BoxText& box) = 0;
};

// The window's controls as the "Change" command reads them at the moment of the click.
struct WindowChoices {
    bool removeOverviewTab = false;     // Check1
    bool removeAddressBookTab = false;  // Check2
    bool restoreTabs = false;           // Check3, before any confirmation
    std::string imageLocation;          // Text1 in UTF-8, exactly as typed or chosen
};

// What the commands need of the window besides its boxes.
class CommandWindow : public BoxPrompter {
  public:
    // Asks which place of the messenger's settings to change (a listed one or a folder);
    // nullopt: cancelled.
    virtual std::optional<registry::PlacePick> ChoosePlace(
        std::span<const registry::SettingsPlace> places) = 0;
    // Runs work that may wait (a hive another program keeps locked, a slow disk) so that the
    // window keeps answering meanwhile.
    virtual void RunWhileBusy(const std::function<void()>& work) { work(); }
    // Puts the image location into the text box (the name the messenger will open).
    virtual void ShowImageLocation(const std::string& location) = 0;
};

// The "Change" command: asks before restoring the tabs, settles where to write (the user picks
// when the search cannot tell), names the image as the messenger opens it from there (refusing
// one it cannot reach or open, copying one its sandbox cannot see), stores every value in one go
// and tells the user either "Patch Complete!" (banners replaced) or what could not be written, why,
// and what the registry holds now.
void RunChangeCommand(MessengerTarget& target, const WindowChoices& choices, CommandWindow& window);

// The same for a window that writes one registry as it is, where paths need no conversion.
void RunChangeCommand(registry::Registry& registry, const WindowChoices& choices,
                      BoxPrompter& boxes);

// The file the open-file dialog gave, as the text box is to show it: the messenger's name for
// it once the place of its settings is known (while the user has yet to pick among several,
// "Change" names it after the pick). nullopt, after telling the user, when the messenger
// cannot reach it.
std::optional<std::string> ChosenImageLocation(MessengerTarget& target, const std::string& chosen,
                                               CommandWindow& window);

// The three tab options. A change by the user to a removal option clears the restore option;
// a change to the restore option clears both removal options. The changed box keeps the value
// the user gave it.
struct TabOptions {
    bool removeOverviewTab = false;
    bool removeAddressBookTab = false;
    bool restoreTabs = false;
    friend bool operator==(const TabOptions&, const TabOptions&) = default;
};
enum class TabOption { kRemoveOverview, kRemoveAddressBook, kRestore };
TabOptions AfterUserChanged(TabOption changed, TabOptions options);

}  // namespace vornik
