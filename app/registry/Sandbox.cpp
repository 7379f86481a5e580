#include "app/registry/Sandbox.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iterator>

#include "app/registry/UniqueFd.hpp"

namespace registry {
namespace {

namespace fs = std::filesystem;

fs::path Resolved(const fs::path& path) {
    std::error_code error;
    fs::path resolved = fs::weakly_canonical(path, error);
    return error ? path.lexically_normal() : resolved;
}

bool IsInside(const fs::path& path, const fs::path& folder) {
    auto p = path.begin();
    for (auto f = folder.begin(); f != folder.end(); ++f, ++p) {
        if (f->empty()) continue;  // a trailing separator
        if (p == path.end() || *p != *f) return false;
    }
    return true;
}

int ReadAll(int fd, std::string& out) {
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof(buffer));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return errno;
        if (got == 0) return 0;
        out.append(buffer, static_cast<std::size_t>(got));
    }
}

int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return errno;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

Result CopyFailure(const fs::path& file, const std::string& why) {
    return Result::Failure(ErrorKind::kIoError,
                           "The messenger runs in a sandbox that cannot see \"" + file.string() +
                               "\", and the file could not be copied into its Wine prefix: " + why +
                               ". Choose an image inside the prefix. Nothing was changed.");
}

std::string NumberedName(const fs::path& name, int number) {
    if (number == 1) return name.string();
    return name.stem().string() + " (" + std::to_string(number) + ")" + name.extension().string();
}

}  // namespace

std::optional<SandboxView> SandboxOf(const fs::path& prefix, const fs::path& home) {
    const fs::path where = Resolved(fs::absolute(prefix));
    if (!home.empty()) {
        const fs::path ownHome = Resolved(home);
        if (IsInside(where, ownHome)) {
            const fs::path inHome = where.lexically_relative(ownHome);
            auto name = inHome.begin();
            if (name != inHome.end() && *name == ".var" && ++name != inHome.end() &&
                *name == "app" && ++name != inHome.end()) {
                return SandboxView{"Flatpak", {ownHome / ".var" / "app" / *name}};
            }
            name = inHome.begin();
            if (name != inHome.end() && *name == "snap" && ++name != inHome.end()) {
                return SandboxView{"Snap", {ownHome / "snap" / *name}};
            }
        }
    }
    // .../steamapps/compatdata/<game>/pfx: Proton runs in Steam's container, which brings its
    // own /usr and lets in the home and the library.
    fs::path library;
    for (auto name = where.begin(); name != where.end(); ++name) {
        const auto next = std::next(name);
        if (*name == "steamapps" && next != where.end() && *next == "compatdata") {
            SandboxView view{"Steam", {library}};
            if (!home.empty()) view.visible.push_back(Resolved(home));
            return view;
        }
        library /= *name;
    }
    return std::nullopt;
}

bool SandboxSees(const SandboxView& sandbox, const fs::path& file) {
    const fs::path where = Resolved(file);
    for (const fs::path& folder : sandbox.visible) {
        if (IsInside(where, Resolved(folder))) return true;
    }
    return false;
}

Result CopyIntoPrefix(const fs::path& prefix, const fs::path& file, fs::path& copy) {
    const UniqueFd source(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (!source || ::fstat(source.Get(), &info) != 0)
        return CopyFailure(file, std::strerror(errno));
    if (!S_ISREG(info.st_mode)) return CopyFailure(file, "it is not a plain file");
    std::string bytes;
    if (const int error = ReadAll(source.Get(), bytes)) {
        return CopyFailure(file, std::strerror(error));
    }
    const fs::path driveC = prefix / "drive_c";
    const UniqueFd drive(::open(driveC.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!drive) return CopyFailure(file, driveC.string() + ": " + std::strerror(errno));
    if (::mkdirat(drive.Get(), "vornik", 0755) != 0 && errno != EEXIST) {
        return CopyFailure(file, std::strerror(errno));
    }
    // Never through a link: the copy stays inside the prefix.
    const UniqueFd folder(
        ::openat(drive.Get(), "vornik", O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder)
        return CopyFailure(file, (driveC / "vornik").string() + ": " + std::strerror(errno));
    const fs::path name = file.filename();
    for (int number = 1; number <= 100; ++number) {
        const std::string candidate = NumberedName(name, number);
        UniqueFd target(::openat(folder.Get(), candidate.c_str(),
                                 O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
        if (!target && errno == EEXIST) {
            const UniqueFd existing(
                ::openat(folder.Get(), candidate.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
            std::string held;
            if (existing && ::fstat(existing.Get(), &info) == 0 && S_ISREG(info.st_mode) &&
                ReadAll(existing.Get(), held) == 0 && held == bytes) {
                copy = driveC / "vornik" / candidate;
                return Result::Success();
            }
            continue;
        }
        if (!target) return CopyFailure(file, std::strerror(errno));
        int error = WriteAll(target.Get(), bytes);
        if (error == 0 && ::fsync(target.Get()) != 0) error = errno;
        if (error == 0 && target.Close() != 0) error = errno;
        if (error != 0) {
            ::unlinkat(folder.Get(), candidate.c_str(), 0);
            return CopyFailure(file, std::strerror(error));
        }
        copy = driveC / "vornik" / candidate;
        return Result::Success();
    }
    return CopyFailure(file, "a hundred files of that name are there already");
}

}  // namespace registry
