// How a Windows program running in a Wine prefix names a file of this system: through the drive
// letters of the prefix's "dosdevices" folder, the way Wine itself works the name out.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace registry {

// The drive-letter path ("Z:\home\me\noad.gif", "C:\users\x.gif") by which programs in `prefix`
// reach the absolute path `unixPath` (UTF-8). Like Wine: "." and ".." and doubled slashes are
// folded first, then the deepest folder of the path that is the root of a drive wins (the
// earlier letter when two drives share a root); the file itself need not exist. nullopt when no
// drive reaches the path or it is not absolute.
std::optional<std::string> DrivePathInPrefix(const std::filesystem::path& prefix,
                                             std::string_view unixPath);

// The path with "." and ".." taken out, slashes single, and the dots and blanks that Windows
// drops from the end of a name removed, as Wine folds a name before it looks for its drive.
std::string FoldUnixPath(std::string_view unixPath);

}  // namespace registry
