// System colours and the operating-system version answer.
#include <atomic>
#include <mutex>

#include "gdi/gdi.hpp"
#include "gdi/platform.hpp"

namespace gdi {

namespace {

// Read on every paint; relaxed atomics keep a host's replacement race-free without a lock.
std::array<std::atomic<COLORREF>, kSysColorCount>& Table() {
    static std::array<std::atomic<COLORREF>, kSysColorCount> table;
    static const bool filled = [] {
        const SysColorTable classic = ClassicSysColors();
        for (int i = 0; i < kSysColorCount; ++i) {
            table[i].store(classic[i], std::memory_order_relaxed);
        }
        return true;
    }();
    (void)filled;
    return table;
}

// Set while a host's table replaces the platform's own colours.
std::atomic<bool> g_tableSet{false};

std::mutex g_versionMutex;
std::optional<OSVERSIONINFO> g_versionOverride;

}  // namespace

SysColorTable ClassicSysColors() {
    return {
        0xC0C0C0,  //  0 scroll bar
        0x808000,  //  1 desktop
        0x800000,  //  2 active caption
        0x808080,  //  3 inactive caption
        0xC0C0C0,  //  4 menu
        0xFFFFFF,  //  5 window
        0x000000,  //  6 window frame
        0x000000,  //  7 menu text
        0x000000,  //  8 window text
        0xFFFFFF,  //  9 caption text
        0xC0C0C0,  // 10 active border
        0xC0C0C0,  // 11 inactive border
        0x808080,  // 12 application workspace
        0x800000,  // 13 highlight
        0xFFFFFF,  // 14 highlight text
        0xC0C0C0,  // 15 button face
        0x808080,  // 16 button shadow
        0x808080,  // 17 grey text
        0x000000,  // 18 button text
        0xC0C0C0,  // 19 inactive caption text
        0xFFFFFF,  // 20 button highlight
        0x000000,  // 21 3-D dark shadow
        0xC0C0C0,  // 22 3-D light
        0x000000,  // 23 tooltip text
        0xE1FFFF,  // 24 tooltip background
        0xB5B5B5,  // 25 (unassigned)
        0xFF0000,  // 26 hot-tracked item
        0xD08410,  // 27 active caption gradient
        0xB5B5B5,  // 28 inactive caption gradient
        0x800000,  // 29 menu highlight
        0xC0C0C0,  // 30 menu bar
    };
}

void SetSysColorTable(const SysColorTable& table) {
    auto& t = Table();
    for (int i = 0; i < kSysColorCount; ++i) {
        t[i].store(table[i] & 0x00FFFFFFu, std::memory_order_relaxed);
    }
    g_tableSet.store(true, std::memory_order_relaxed);
}

void ResetSysColors() {
    SetSysColorTable(ClassicSysColors());
    g_tableSet.store(false, std::memory_order_relaxed);
}

COLORREF GetSysColor(int index) {
    if (index < 0 || index >= kSysColorCount) return 0;
    if (!g_tableSet.load(std::memory_order_relaxed)) return detail::PlatformSysColor(index);
    return Table()[index].load(std::memory_order_relaxed);
}

// An index outside the table is not a colour: CLR_INVALID rather than a made-up black.
COLORREF TranslateSysColor(std::uint32_t value) {
    if ((value & 0x80000000u) == 0) return value;
    const std::uint32_t index = value & 0x7FFFFFFFu;
    if (index >= static_cast<std::uint32_t>(kSysColorCount)) return CLR_INVALID;
    return GetSysColor(static_cast<int>(index));
}

OSVERSIONINFO GetVersionEx() {
    std::lock_guard lock(g_versionMutex);
    if (g_versionOverride) return *g_versionOverride;
    return detail::PlatformVersion();
}

void SetVersionForTesting(std::optional<OSVERSIONINFO> version) {
    std::lock_guard lock(g_versionMutex);
    g_versionOverride = version;
}

}  // namespace gdi
