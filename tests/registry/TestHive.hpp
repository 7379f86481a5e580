// Real files for the registry tests: temporary prefixes, the hive made by wineboot, larger hives.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace registry::test {

// A temporary folder, removed with everything in it.
class TempDir {
  public:
    TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();
    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, std::string_view bytes);

// user.reg as wineboot wrote it for a fresh prefix (about 25 KB).
std::string WinebootHive();

// The wineboot hive followed by generated key sections (strings with escapes, dwords, wrapped
// binary data) until it is at least minBytes long.
std::string LargeHive(std::size_t minBytes);

// A prefix folder holding the given user.reg.
void MakePrefix(const std::filesystem::path& prefix, std::string_view hive);

// The whole line of a value (without its newline) inside the section whose header starts with
// "[" + escapedPath + "]", or "" when there is none.
std::string ValueLine(std::string_view hive, std::string_view escapedPath,
                      std::string_view escapedName);

// The section of a key, from its header up to the next section; "" when missing.
std::string SectionText(std::string_view hive, std::string_view escapedPath);

// The unprivileged user the permission tests drop to when they run as the superuser
// (permissions do not bind the superuser).
constexpr int kNobody = 65534;

// Whether that user can walk to `folder` at all. Some machines close the root folder to other
// users; there a permission test as that user would prove nothing, and skips instead.
bool UnprivilegedCanReach(const std::filesystem::path& folder);

}  // namespace registry::test
