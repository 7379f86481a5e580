// What the "Change" command writes into the messenger's settings, worked out from the window's
// choices before anything is stored, so that one command's values are stored together or not at
// all.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/registry/Registry.hpp"

namespace vornik {

// The messenger's settings; every key the command writes lies below it.
inline constexpr std::string_view kMessengerKey = "Software\\Yahoo\\Pager";
inline constexpr std::string_view kOverviewTabKey = "Software\\Yahoo\\Pager\\View\\YMSGR_Overview";
inline constexpr std::string_view kAddressBookTabKey =
    "Software\\Yahoo\\Pager\\View\\YMSGR_AddressBook";
inline constexpr std::string_view kTabBitmapValue = "Display Bmp";
inline constexpr std::string_view kOverviewTabBitmap = "YView\\siren.bmp";
inline constexpr std::string_view kAddressBookTabBitmap = "YView\\addressbook.bmp";
inline constexpr std::string_view kBannerKey = "Software\\Yahoo\\Pager\\yurl";

// The messenger's advertising-banner values, in the order they are written.
inline constexpr std::string_view kBannerValues[] = {
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

struct PatchChoices {
    bool removeOverviewTab = false;     // Check1
    bool removeAddressBookTab = false;  // Check2
    bool restoreTabs = false;           // Check3, after the user confirmed it
    std::string imageLocation;          // Text1 in UTF-8, exactly as typed or chosen
};

// One REG_SZ value below HKEY_CURRENT_USER, all text UTF-8.
struct PatchWrite {
    std::string keyPath;
    std::string valueName;
    std::string data;
};

// The values to store, in the order the command sets them: blanked tabs, restored tabs, banners.
std::vector<PatchWrite> PlanPatch(const PatchChoices& choices);

// Banners are pointed at the image (and "Patch Complete!" follows) only for a non-empty location;
// a location of blanks counts as given.
inline bool ReplacesBanners(const PatchChoices& choices) {
    return !choices.imageLocation.empty();
}

// Stores every value in one transaction: all of them, or none and the reason.
registry::Result StorePatch(registry::Registry& registry, std::span<const PatchWrite> writes);

// The user's explanation of a failed command: what could not be written, why, and what the
// registry holds now (unchanged, changed, or partly changed).
std::string DescribeFailure(std::span<const PatchWrite> writes, const registry::Result& failure);

}  // namespace vornik
