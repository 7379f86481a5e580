// How a Windows program running in a Wine prefix names a file of this system: through the drive
// letters of the prefix's "dosdevices" folder, the way Wine itself works the name out.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace registry {

// The drive by which programs in `prefix` reach the absolute path `unixPath`, found as Wine finds
// it: from the path as given up to "/", each folder is looked up (links followed, so "lnk/.."
// is the folder above the link's target), a ".." skipping the name before it, and the first that
// is the root of a drive wins (the earlier letter when two drives share a root). A prefix
// without "dosdevices" has the drives Wine makes for it: C: its drive_c, Z: the root.
struct DriveLocation {
    char letter = 0;   // 'A'..'Z'
    std::string rest;  // the part of unixPath after the drive's root, as given
};
std::optional<DriveLocation> FindDrive(const std::filesystem::path& prefix,
                                       std::string_view unixPath);

// The drive-letter path of a location FindDrive gave: the rest tidied as Wine tidies it.
std::string WindowsPath(const DriveLocation& drive);

// The drive-letter path ("Z:\home\me\noad.gif", "C:\users\x.gif") of an absolute path (UTF-8):
// the drive as FindDrive gives it, the rest tidied as Wine tidies it. The file itself need not
// exist. nullopt when no drive reaches the path or it is not absolute.
std::optional<std::string> DrivePathInPrefix(const std::filesystem::path& prefix,
                                             std::string_view unixPath);

// The path with "." and ".." taken out, slashes single, and the dots and blanks that Windows
// drops from the end of a name removed, as Wine tidies the part of a name after its drive.
std::string FoldUnixPath(std::string_view unixPath);

// A name of the part after the drive that a Windows program cannot open as it is: one holding
// * ? < > | " \ or a control character, one ending in a dot or a blank (Windows drops them and
// opens another file), one that is not UTF-8. Names a ".." takes away again are not looked at.
struct NameProblem {
    std::string name;  // the name as the path holds it
    std::string what;  // "the character '*'", "a dot at its end", ...
};
std::optional<NameProblem> UnopenableName(std::string_view rest);

}  // namespace registry
