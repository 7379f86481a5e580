#include "app/WindowCommands.hpp"

#include <vector>

#include "app/MessengerTarget.hpp"
#include "app/PatchCommand.hpp"
#include "app/registry/Registry.hpp"

namespace vornik {
namespace {

BoxText Box(std::string_view text, std::string_view title, BoxButtons buttons, BoxIcon icon) {
    return {std::string(text), std::string(title), buttons, icon};
}

void ShowFailure(BoxPrompter& boxes, const std::string& text) {
    boxes.Ask(Box(text, kAppTitle, BoxButtons::kOk, BoxIcon::kCritical));
}

// The search for the messenger's settings runs once, while the window keeps answering; with
// several places the user picks one, but only when `mayAsk`. False when no place is settled.
bool SettleTarget(MessengerTarget& target, CommandWindow& window, bool mayAsk) {
    if (!target.Searched()) window.RunWhileBusy([&target] { target.RunSearch(); });
    if (!target.NeedsChoice()) return true;
    if (!mayAsk) return false;
    const std::optional<registry::PlacePick> picked = window.ChoosePlace(target.Places());
    if (!picked) return false;
    target.Choose(*picked);
    return true;
}

// A window that has only its boxes: no choices to offer, nothing to wait for.
class BoxesOnly final : public CommandWindow {
  public:
    explicit BoxesOnly(BoxPrompter& boxes) : boxes_(boxes) {}
    BoxAnswer Ask(const BoxText& box) override { return boxes_.Ask(box); }
    std::optional<registry::PlacePick> ChoosePlace(
        std::span<const registry::SettingsPlace>) override {
        return std::nullopt;
    }
    void ShowImageLocation(const std::string&) override {}

  private:
    BoxPrompter& boxes_;
};

}  // namespace

std::string HelpMessage() {
    const std::string paragraphBreak = "\r\n\r\n";
    return "You may choose what you want to be displayed in the areas where banners are normaly "
           "at." +
           paragraphBreak +
           "If you wish to remove the banners use the image 'noad.gif'.  Place it in some "
           "location that you will not remove it from." +
           paragraphBreak +
           "By default it will load the noad.gif into the text box from the location that you "
           "extracted the files to.  Simply browse to the new location of the file, if you move "
           "it." +
           paragraphBreak + "Vornik 1.2 by the Vornik developers - https://vornik.example.org/";
}

void RunChangeCommand(MessengerTarget& target, const WindowChoices& controls,
                      CommandWindow& window) {
    PatchChoices choices;
    choices.removeOverviewTab = controls.removeOverviewTab;
    choices.removeAddressBookTab = controls.removeAddressBookTab;
    choices.imageLocation = controls.imageLocation;
    if (controls.restoreTabs) {
        choices.restoreTabs = window.Ask(Box(kRestoreQuestion, kAppTitle, BoxButtons::kYesNo,
                                             BoxIcon::kNone)) == BoxAnswer::kYes;
    }
    if (PlanPatch(choices).empty()) return;
    if (!SettleTarget(target, window, true)) return;  // cancelled: nothing is written
    if (ReplacesBanners(choices)) {
        std::string location;
        if (const registry::Result named = target.FileName(choices.imageLocation, location);
            !named) {
            ShowFailure(window, named.Message());
            return;
        }
        if (location != choices.imageLocation) {
            // What is written is what the window shows.
            window.ShowImageLocation(location);
            choices.imageLocation = std::move(location);
        }
    }

    const std::vector<PatchWrite> writes = PlanPatch(choices);
    registry::Registry& registry = target.Registry();
    std::optional<registry::Result> stored;
    window.RunWhileBusy([&] { stored.emplace(StorePatch(registry, writes)); });
    if (!*stored) {
        ShowFailure(window, DescribeFailure(writes, *stored));
        return;
    }
    if (ReplacesBanners(choices)) {
        window.Ask(Box(kPatchComplete, kAppTitle, BoxButtons::kOk, BoxIcon::kInformation));
    }
}

void RunChangeCommand(registry::Registry& registry, const WindowChoices& choices,
                      BoxPrompter& boxes) {
    MessengerTarget target(registry);
    BoxesOnly window(boxes);
    RunChangeCommand(target, choices, window);
}

std::optional<std::string> ChosenImageLocation(MessengerTarget& target, const std::string& chosen,
                                               CommandWindow& window) {
    if (!SettleTarget(target, window, false)) return chosen;
    std::string location;
    if (const registry::Result named = target.ShownFileName(chosen, location); !named) {
        ShowFailure(window, named.Message());
        return std::nullopt;
    }
    return location;
}

TabOptions AfterUserChanged(TabOption changed, TabOptions options) {
    if (changed == TabOption::kRestore) {
        options.removeOverviewTab = false;
        options.removeAddressBookTab = false;
    } else {
        options.restoreTabs = false;
    }
    return options;
}

}  // namespace vornik
