#include "app/WindowCommands.hpp"

#include <vector>

#include "app/PatchCommand.hpp"
#include "app/registry/Registry.hpp"

namespace vornik {
namespace {

BoxText Box(std::string_view text, std::string_view title, BoxButtons buttons, BoxIcon icon) {
    return {std::string(text), std::string(title), buttons, icon};
}

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

void RunChangeCommand(registry::Registry& registry, const WindowChoices& window,
                      BoxPrompter& boxes) {
    PatchChoices choices;
    choices.removeOverviewTab = window.removeOverviewTab;
    choices.removeAddressBookTab = window.removeAddressBookTab;
    choices.imageLocation = window.imageLocation;
    if (window.restoreTabs) {
        choices.restoreTabs = boxes.Ask(Box(kRestoreQuestion, kAppTitle, BoxButtons::kYesNo,
                                            BoxIcon::kNone)) == BoxAnswer::kYes;
    }

    const std::vector<PatchWrite> writes = PlanPatch(choices);
    if (writes.empty()) return;
    const registry::Result stored = StorePatch(registry, writes);
    if (!stored) {
        boxes.Ask(Box(DescribeFailure(writes, stored.Message()), kAppTitle, BoxButtons::kOk,
                      BoxIcon::kCritical));
        return;
    }
    if (ReplacesBanners(choices)) {
        boxes.Ask(Box(kPatchComplete, kAppTitle, BoxButtons::kOk, BoxIcon::kInformation));
    }
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
