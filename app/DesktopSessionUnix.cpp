// X11 and Wayland sessions; the program's files live in share/vornik beside bin/.
#include <QDir>
#include <QLibraryInfo>
#include <QStringList>
#include <cstdlib>
#include <string_view>

#include "app/DesktopSession.hpp"

namespace vornik {
namespace {

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Qt's Wayland platform comes in a package of its own; without it a session that offers Wayland
// alone ends in Qt's abort instead of a window.
bool HasWaylandPlatform() {
    QStringList folders =
        qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH").split(u':', Qt::SkipEmptyParts);
    for (const QString& folder :
         qEnvironmentVariable("QT_PLUGIN_PATH").split(u':', Qt::SkipEmptyParts))
        folders << folder + QStringLiteral("/platforms");
    folders << QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms");
    for (const QString& folder : folders) {
        if (!QDir(folder).entryList({QStringLiteral("libqwayland-*.so")}, QDir::Files).isEmpty())
            return true;
    }
    return false;
}

}  // namespace

std::optional<std::string> MissingDisplay() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const std::string_view chosen = platform ? platform : "";
    const bool wantsX11 = chosen.starts_with("xcb");
    const bool wantsWayland = chosen.starts_with("wayland");
    // Any other platform (offscreen, vnc, ...) brings its own screen.
    if (!chosen.empty() && !wantsX11 && !wantsWayland) return std::nullopt;
    if ((wantsX11 || chosen.empty()) && Set("DISPLAY")) return std::nullopt;
    if ((wantsWayland || chosen.empty()) && Set("WAYLAND_DISPLAY")) {
        if (HasWaylandPlatform()) return std::nullopt;
        return std::string(
            "This is a Wayland session without X (WAYLAND_DISPLAY is set, DISPLAY is not), and "
            "Qt's Wayland platform plugin is not installed. Install it (Debian: sudo apt install "
            "qt6-wayland) and start Vornik again.");
    }
    return std::string(
        "Vornik shows a window and needs a graphical desktop session, but there is none here "
        "(DISPLAY and WAYLAND_DISPLAY are not set). Start Vornik from your desktop's menu, or "
        "from a terminal inside your desktop session.");
}

std::filesystem::path BlankImageFolder(const std::filesystem::path& programFolder) {
    const std::filesystem::path folder = programFolder.parent_path() / "share" / "vornik";
    std::error_code error;
    if (std::filesystem::exists(folder / "noad.gif", error)) return folder;
    return {};
}

}  // namespace vornik
