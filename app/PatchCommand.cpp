#include "app/PatchCommand.hpp"

#include <algorithm>

namespace vornik {
namespace {

PatchWrite Write(std::string_view key, std::string_view name, std::string_view data) {
    return {std::string(key), std::string(name), std::string(data)};
}

bool Touches(std::span<const PatchWrite> writes, std::string_view key) {
    return std::any_of(writes.begin(), writes.end(),
                       [key](const PatchWrite& w) { return w.keyPath == key; });
}

std::string UnderCurrentUser(std::string_view key) {
    return "HKEY_CURRENT_USER\\" + std::string(key);
}

std::vector<std::string> WhatIsWritten(std::span<const PatchWrite> writes) {
    const std::string tabValue = "\"" + std::string(kTabBitmapValue) + "\"";
    std::vector<std::string> parts;
    if (Touches(writes, kOverviewTabKey)) {
        parts.push_back(tabValue + " of the Overview tab (" + UnderCurrentUser(kOverviewTabKey) +
                        ")");
    }
    if (Touches(writes, kAddressBookTabKey)) {
        parts.push_back(tabValue + " of the Address book tab (" +
                        UnderCurrentUser(kAddressBookTabKey) + ")");
    }
    if (Touches(writes, kBannerKey)) {
        parts.push_back("the " + std::to_string(std::size(kBannerValues)) + " banner addresses (" +
                        UnderCurrentUser(kBannerKey) + ")");
    }
    return parts;
}

std::string JoinWithAnd(const std::vector<std::string>& parts) {
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) out += (i + 1 == parts.size()) ? " and " : ", ";
        out += parts[i];
    }
    return out;
}

}  // namespace

std::vector<PatchWrite> PlanPatch(const PatchChoices& choices) {
    std::vector<PatchWrite> writes;
    if (choices.removeOverviewTab) writes.push_back(Write(kOverviewTabKey, kTabBitmapValue, ""));
    if (choices.removeAddressBookTab) {
        writes.push_back(Write(kAddressBookTabKey, kTabBitmapValue, ""));
    }
    if (choices.restoreTabs) {
        writes.push_back(Write(kOverviewTabKey, kTabBitmapValue, kOverviewTabBitmap));
        writes.push_back(Write(kAddressBookTabKey, kTabBitmapValue, kAddressBookTabBitmap));
    }
    if (ReplacesBanners(choices)) {
        for (std::string_view name : kBannerValues) {
            writes.push_back(Write(kBannerKey, name, choices.imageLocation));
        }
    }
    return writes;
}

registry::Result StorePatch(registry::Registry& registry, std::span<const PatchWrite> writes) {
    registry::Transaction transaction = registry.Begin();
    for (const PatchWrite& w : writes) {
        registry::Result staged =
            transaction.SetStringValue(registry::kHkeyCurrentUser, w.keyPath, w.valueName, w.data);
        if (!staged) return staged;
    }
    return transaction.Commit();
}

std::string DescribeFailure(std::span<const PatchWrite> writes, const registry::Result& failure) {
    const std::string what = JoinWithAnd(WhatIsWritten(writes));
    const std::string& reason = failure.Message();
    const std::string why = reason.empty() ? std::string() : "\r\n\r\n" + reason;
    switch (failure.Left()) {
        case registry::Aftermath::kChanged:
            return "Wrote " + what + ", but the change is not known to be safe on the disk yet." +
                   why + "\r\n\r\nThe registry holds the new values now.";
        case registry::Aftermath::kPartlyChanged:
            // The reason lists what stayed in the registry.
            return "Could not write all of " + what + "." + why;
        case registry::Aftermath::kUnchanged:
            break;
    }
    std::string text = "Could not write " + what + "." + why;
    // The registry says so itself as a rule; the user must not be left guessing.
    if (reason.find("Nothing was changed") == std::string::npos) {
        text += "\r\n\r\nNothing was changed.";
    }
    return text;
}

}  // namespace vornik
