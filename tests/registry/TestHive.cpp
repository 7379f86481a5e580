#include "TestHive.hpp"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace registry::test {
namespace fs = std::filesystem;

TempDir::TempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string name = std::string(base && *base ? base : "/tmp") + "/vornik-reg-XXXXXX";
    if (!mkdtemp(name.data())) throw std::runtime_error("mkdtemp failed");
    path_ = name;
}

TempDir::~TempDir() {
    std::error_code error;
    // Tests make folders read-only; give them back so they can be removed. Prefixes hold drive
    // links such as dosdevices/z: -> /, so an entry is asked about itself, never its link's target.
    for (const auto& entry : fs::recursive_directory_iterator(path_, error)) {
        if (fs::is_directory(entry.symlink_status(error)))
            fs::permissions(entry.path(), fs::perms::owner_all, error);
    }
    fs::permissions(path_, fs::perms::owner_all, error);
    fs::remove_all(path_, error);
}

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("cannot read " + path.string());
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void WriteFile(const fs::path& path, std::string_view bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file) throw std::runtime_error("cannot write " + path.string());
}

std::string WinebootHive() {
    return ReadFile(fs::path(VORNIK_REGISTRY_TEST_DATA) / "user.reg");
}

std::string LargeHive(std::size_t minBytes) {
    std::string hive = WinebootHive();
    char buffer[160];
    for (int key = 0; hive.size() < minBytes; ++key) {
        std::snprintf(buffer, sizeof(buffer),
                      "\n[Zz Bulk\\\\Group%03d\\\\Key%06d] 1796622010\n#time=1dd860d6c84d526\n",
                      key / 1000, key);
        hive += buffer;
        hive += "\"Caption\"=\"Caf\\xe9 \\\"quoted\\\" C:\\\\Path\\\\file.gif\\tend\"\n";
        std::snprintf(buffer, sizeof(buffer), "\"Count\"=dword:%08x\n", key);
        hive += buffer;
        hive +=
            "\"Font\"=hex:f5,ff,ff,ff,00,00,00,00,00,00,00,00,00,00,00,00,bc,02,00,00,\\\n"
            "  00,00,00,00,00,00,00,22,4d,00,53,00,20,00,53,00,68,00\n";
        hive += "\"Path\"=str(2):\"%SystemRoot%\\\\system32\"\n";
        hive += "\"Title\"=\"\\x4e2d\\x6587 \\xd83d\\xde00\"\n";
    }
    return hive;
}

void MakePrefix(const fs::path& prefix, std::string_view hive) {
    fs::create_directories(prefix);
    WriteFile(prefix / "user.reg", hive);
}

std::string SectionText(std::string_view hive, std::string_view escapedPath) {
    const std::string header = "[" + std::string(escapedPath) + "]";
    std::size_t begin = hive.rfind("\n" + header);
    if (begin == std::string_view::npos) return {};
    ++begin;
    std::size_t end = hive.find("\n[", begin);
    end = end == std::string_view::npos ? hive.size() : end + 1;
    return std::string(hive.substr(begin, end - begin));
}

std::string ValueLine(std::string_view hive, std::string_view escapedPath,
                      std::string_view escapedName) {
    const std::string section = SectionText(hive, escapedPath);
    const std::string start =
        escapedName.empty() ? "\n@=" : "\n\"" + std::string(escapedName) + "\"=";
    const std::size_t begin = section.find(start);
    if (begin == std::string::npos) return {};
    const std::size_t end = section.find('\n', begin + 1);
    return section.substr(begin + 1, end - begin - 1);
}

bool UnprivilegedCanReach(const fs::path& folder) {
    if (geteuid() != 0) return true;
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(2);
        _exit(access(folder.c_str(), X_OK) == 0 ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace registry::test
