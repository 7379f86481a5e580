// System colours and the operating-system version answer.
#include <gtest/gtest.h>

#include "gdi/gdi.hpp"

namespace gdi {
namespace {

TEST(SysColors, ClassicScheme) {
    ResetSysColors();
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), 0xFFFFFFu);
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), 0x000000u);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), 0xC0C0C0u);
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), 0x808080u);
    EXPECT_EQ(GetSysColor(COLOR_BTNTEXT), 0x000000u);
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), 0xFFFFFFu);
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), 0x000000u);
    EXPECT_EQ(GetSysColor(COLOR_3DLIGHT), 0xC0C0C0u);
    EXPECT_EQ(GetSysColor(-1), 0u);
    EXPECT_EQ(GetSysColor(kSysColorCount), 0u);
}

TEST(SysColors, HostPaletteReplacesTheTableUntilReset) {
    SysColorTable t = ClassicSysColors();
    t[COLOR_BTNFACE] = 0x3C3B3A;
    SetSysColorTable(t);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), 0x3C3B3Au);
    EXPECT_EQ(TranslateSysColor(0x80000000u | COLOR_BTNFACE), 0x3C3B3Au);
    ResetSysColors();
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), 0xC0C0C0u);
}

TEST(SysColors, TranslateOnlyTopBitValues) {
    ResetSysColors();
    EXPECT_EQ(TranslateSysColor(0x80000000u + COLOR_BTNSHADOW), 0x808080u);
    EXPECT_EQ(TranslateSysColor(0x00123456u), 0x00123456u);
    EXPECT_EQ(TranslateSysColor(0x80000000u + 200), CLR_INVALID);  // no such system colour
    EXPECT_EQ(TranslateSysColor(0xFFFFFFFFu), CLR_INVALID);
}

TEST(Version, FixedAnswerReplaceableInTests) {
    const OSVERSIONINFO v = GetVersionEx();
    EXPECT_EQ(v.dwPlatformId, VER_PLATFORM_WIN32_NT);
    EXPECT_EQ(v.dwMajorVersion, 10u);
    EXPECT_EQ(v.dwMinorVersion, 0u);
    OSVERSIONINFO old;
    old.dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
    old.dwMajorVersion = 4;
    old.dwMinorVersion = 10;
    SetVersionForTesting(old);
    EXPECT_EQ(GetVersionEx().dwPlatformId, VER_PLATFORM_WIN32_WINDOWS);
    EXPECT_EQ(GetVersionEx().dwMinorVersion, 10u);
    SetVersionForTesting(std::nullopt);
    EXPECT_EQ(GetVersionEx().dwMajorVersion, 10u);
}

}  // namespace
}  // namespace gdi
