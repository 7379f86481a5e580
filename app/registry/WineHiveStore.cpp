#include "app/registry/WineHiveStore.hpp"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <thread>

#include "app/registry/HiveDocument.hpp"
#include "app/registry/UniqueFd.hpp"
#include "app/registry/WineServerProbe.hpp"

namespace registry {
namespace {

namespace fs = std::filesystem;

constexpr const char* kHiveName = "user.reg";
constexpr std::string_view kTempPrefix = ".user.reg.vornik-";
constexpr const char* kNothingChanged = " Nothing was changed.";

std::string Quoted(const fs::path& path) {
    return "\"" + path.string() + "\"";
}

Result ErrnoFailure(int error, const std::string& doing, const fs::path& what) {
    switch (error) {
        case EACCES:
        case EPERM:
            return Result::Failure(ErrorKind::kAccessDenied,
                                   "No permission to " + doing + " " + Quoted(what) +
                                       ". Check the owner and permissions of the file and its "
                                       "folder." +
                                       kNothingChanged);
        case EROFS:
            return Result::Failure(ErrorKind::kReadOnly, "Cannot " + doing + " " + Quoted(what) +
                                                             ": the file system is read-only." +
                                                             kNothingChanged);
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return Result::Failure(ErrorKind::kNoSpace,
                                   "There is not enough disk space to " + doing + " " +
                                       Quoted(what) + " (" + std::strerror(error) +
                                       "). Free some space and try again." + kNothingChanged);
        default:
            return Result::Failure(ErrorKind::kIoError, "Could not " + doing + " " + Quoted(what) +
                                                            ": " + std::strerror(error) + "." +
                                                            kNothingChanged);
    }
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The new hive while it is being written; removed again unless it replaced the hive.
class TemporaryFile {
  public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!path_.empty() && !kept_) ::unlink(path_.c_str());
    }

    int Create(const fs::path& folder) {
        std::string name = (folder / (std::string(kTempPrefix) + "XXXXXX")).string();
        fd_.Reset(mkostemp(name.data(), O_CLOEXEC));
        if (!fd_) return errno;
        path_ = name;
        return 0;
    }
    const fs::path& Path() const { return path_; }
    UniqueFd& Fd() { return fd_; }
    void Keep() { kept_ = true; }

  private:
    fs::path path_;
    UniqueFd fd_;
    bool kept_ = false;
};

int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

int ReadAll(int fd, std::size_t sizeHint, std::string& out) {
    out.clear();
    out.reserve(sizeHint + 1);
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof(buffer));
        if (got < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (got == 0) return 0;
        out.append(buffer, static_cast<std::size_t>(got));
    }
}

// The open, locked hive; the lock goes with the descriptor.
struct LockedHive {
    UniqueFd fd;
    struct stat info {};  // when locked
    struct stat read {};  // when read
};

class HiveCommit {
  public:
    HiveCommit(const fs::path& prefix, const WineHiveStore::Options& options)
        : prefix_(prefix), hive_(prefix / kHiveName), options_(options) {}

    Result Run(std::span<const StringWrite> writes) {
        if (Result r = CheckPrefix(); !r) return r;
        if (Result r = CheckServer(); !r) return r;
        // Another writer (Wine saves by replacing the file) may replace the hive after it was
        // read: read it again and apply the change to what that writer left.
        constexpr int kAttempts = 3;
        for (int attempt = 1;; ++attempt) {
            if (Result r = Lock(); !r) return r;
            if (Result r = CheckWritable(); !r) return r;
            if (attempt == 1) RemoveAbandonedCopies();
            std::optional<HiveDocument> document;
            if (Result r = ReadLocked(document); !r) return r;
            bool replacedMeanwhile = false;
            Result result = Replace(*document, writes, replacedMeanwhile);
            if (!replacedMeanwhile) return result;
            if (attempt == kAttempts) {
                return Result::Failure(ErrorKind::kBusy,
                                       "Another program replaced " + Quoted(hive_) +
                                           " each time Vornik was about to save it. Close the "
                                           "programs of that Wine prefix, then try again." +
                                           kNothingChanged);
            }
        }
    }

  private:
    Result CheckPrefix() const {
        if (prefix_.empty())
            return NoPrefix(
                "Vornik found no Wine prefix, so it cannot tell where the messenger "
                "keeps its settings.");
        struct stat info {};
        if (::stat(prefix_.c_str(), &info) != 0 && errno != ENOENT && errno != ENOTDIR) {
            return ErrnoFailure(errno, "open the Wine prefix", prefix_);
        }
        if (!S_ISDIR(info.st_mode)) {
            return NoPrefix("There is no Wine prefix at " + Quoted(prefix_) +
                            ", so the messenger is not installed there.");
        }
        return Result::Success();
    }

    // Says where the prefix was looked for and how to name the right one.
    Result NoPrefix(const std::string& what) const {
        std::string text = what;
        if (!options_.lookedIn.empty()) {
            text += " Vornik looked for the messenger's settings in " + options_.lookedIn +
                    " and found them in none of these.";
        }
        text += " Start Vornik with the prefix the messenger runs in: vornik --prefix FOLDER." +
                std::string(kNothingChanged);
        return Result::Failure(ErrorKind::kNoPrefix, text);
    }

    Result CheckServer() const {
        const WineServerStatus status =
            ProbeWineServer(prefix_, ServerPlaces{options_.serverRoot, options_.procRoot});
        return status.running ? ServerRunning(status) : Result::Success();
    }

    Result Lock() {
        const auto deadline = std::chrono::steady_clock::now() + options_.lockTimeout;
        for (;;) {
            locked_.fd.Reset(::open(hive_.c_str(), O_RDONLY | O_CLOEXEC));
            if (!locked_.fd) return OpenFailure(errno);
            while (::flock(locked_.fd.Get(), LOCK_EX | LOCK_NB) != 0) {
                if (errno == EINTR) continue;
                if (errno != EWOULDBLOCK) return ErrnoFailure(errno, "lock", hive_);
                if (std::chrono::steady_clock::now() >= deadline) {
                    return Result::Failure(ErrorKind::kBusy,
                                           "Another program kept " + Quoted(hive_) +
                                               " locked for too long. Try again in a moment." +
                                               kNothingChanged);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            // A writer that held the lock before us may have replaced the file: lock the new one.
            struct stat current {};
            if (::fstat(locked_.fd.Get(), &locked_.info) != 0) {
                return ErrnoFailure(errno, "examine", hive_);
            }
            if (::stat(hive_.c_str(), &current) != 0) return OpenFailure(errno);
            if (SameFile(current, locked_.info)) return Result::Success();
        }
    }

    Result OpenFailure(int error) const {
        if (error == ENOENT) {
            return Result::Failure(ErrorKind::kNoHive,
                                   "The Wine prefix " + Quoted(prefix_) +
                                       " has no user registry file (user.reg). Start the "
                                       "messenger once so that Wine creates it, then try again." +
                                       kNothingChanged);
        }
        return ErrnoFailure(error, "open the registry file", hive_);
    }

    Result CheckWritable() const {
        if (::faccessat(AT_FDCWD, hive_.c_str(), W_OK, AT_EACCESS) != 0) {
            if (errno == EACCES) {
                return Result::Failure(ErrorKind::kReadOnly,
                                       "The registry file " + Quoted(hive_) +
                                           " is read-only for you. Make it writable, then try "
                                           "again." +
                                           kNothingChanged);
            }
            return ErrnoFailure(errno, "write", hive_);
        }
        if (::faccessat(AT_FDCWD, prefix_.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
            if (errno == EACCES) {
                return Result::Failure(ErrorKind::kReadOnly,
                                       "The folder " + Quoted(prefix_) +
                                           " is read-only for you, so the registry file cannot "
                                           "be replaced safely. Make the folder writable, then "
                                           "try again." +
                                           kNothingChanged);
            }
            return ErrnoFailure(errno, "write into the folder", prefix_);
        }
        return Result::Success();
    }

    // Copies left by a writer that died before its rename; no writer is active while we hold
    // the lock, so every one of them is abandoned.
    void RemoveAbandonedCopies() const {
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(prefix_, error)) {
            if (entry.path().filename().string().rfind(kTempPrefix, 0) == 0) {
                fs::remove(entry.path(), error);
            }
        }
    }

    Result ReadLocked(std::optional<HiveDocument>& document) {
        std::string text;
        if (const int error =
                ReadAll(locked_.fd.Get(), static_cast<std::size_t>(locked_.info.st_size), text)) {
            return ErrnoFailure(error, "read the registry file", hive_);
        }
        // What was read is what the file held when the read ended.
        if (::fstat(locked_.fd.Get(), &locked_.read) != 0) {
            return ErrnoFailure(errno, "examine", hive_);
        }
        HiveParseError parseError;
        document = HiveDocument::Parse(std::move(text), parseError);
        if (!document) {
            return Result::Failure(
                ErrorKind::kHiveDamaged,
                "The registry file " + Quoted(hive_) + " cannot be read: line " +
                    std::to_string(parseError.line) + ": " + parseError.reason +
                    ". Nothing was changed; repair or restore the file, then try again.");
        }
        return Result::Success();
    }

    // The hive at its name is still the file read, unchanged since.
    bool StillTheOneRead() const {
        struct stat now {};
        const struct stat& read = locked_.read;
        return ::stat(hive_.c_str(), &now) == 0 && SameFile(now, read) &&
               now.st_size == read.st_size && now.st_mtim.tv_sec == read.st_mtim.tv_sec &&
               now.st_mtim.tv_nsec == read.st_mtim.tv_nsec;
    }

    Result ServerRunning(const WineServerStatus& status) const {
        return Result::Failure(ErrorKind::kServerRunning,
                               "Wine is running for " + Quoted(prefix_) + " (" + status.evidence +
                                   ") and would overwrite the change from memory. Close the "
                                   "messenger and every other program of that prefix (or run "
                                   "\"wineserver -k\"), then try again." +
                                   kNothingChanged);
    }

    Result Replace(const HiveDocument& document, std::span<const StringWrite> writes,
                   bool& replacedMeanwhile) {
        TemporaryFile copy;
        if (const int error = copy.Create(prefix_)) {
            return ErrnoFailure(error, "create a new registry file in", prefix_);
        }
        const int fd = copy.Fd().Get();
        if (::fchmod(fd, locked_.info.st_mode & 07777) != 0) {
            return ErrnoFailure(errno, "set the permissions of", copy.Path());
        }
        if ((locked_.info.st_uid != ::geteuid() || locked_.info.st_gid != ::getegid()) &&
            ::fchown(fd, locked_.info.st_uid, locked_.info.st_gid) != 0) {
            return ErrnoFailure(errno, "keep the owner of", hive_);
        }
        int writeError = 0;
        const bool written = document.Write(writes, HiveTime::Now(), [&](std::string_view piece) {
            writeError = WriteAll(fd, piece);
            return writeError == 0;
        });
        if (!written) return ErrnoFailure(writeError, "write the registry file", hive_);
        if (::fsync(fd) != 0) return ErrnoFailure(errno, "flush the registry file", hive_);
        if (copy.Fd().Close() != 0) return ErrnoFailure(errno, "write the registry file", hive_);
        if (options_.beforeReplace) options_.beforeReplace();
        // A server started meanwhile would overwrite the file: last chance to stop. This looks
        // at the lock files, so it comes before this process takes them.
        if (Result r = CheckServer(); !r) return r;
        // From here to the rename no server of this host can start for the prefix.
        const ServerStartBlock block = ServerStartBlock::Take(prefix_, options_.serverRoot);
        if (block.Status().running) return ServerRunning(block.Status());
        if (const WineServerStatus sandboxed = FindServerProcess(prefix_, options_.procRoot);
            sandboxed.running) {
            return ServerRunning(sandboxed);
        }
        if (!StillTheOneRead()) {
            replacedMeanwhile = true;
            return Result::Success();
        }
        if (::rename(copy.Path().c_str(), hive_.c_str()) != 0) {
            return ErrnoFailure(errno, "replace", hive_);
        }
        copy.Keep();
        if (options_.afterReplace) options_.afterReplace();
        if (Result r = FlushFolder(); !r) return r;
        // A server in a sandbox's own /tmp cannot be held off; one that started just now may
        // have read the old file.
        if (const WineServerStatus late = FindServerProcess(prefix_, options_.procRoot);
            late.running) {
            return Result::Failure(
                ErrorKind::kServerRunning,
                "The change was saved in " + Quoted(hive_) + ", but Wine started for the prefix " +
                    "at that moment (" + late.evidence +
                    "). If it read the registry before the change, it will put the old values "
                    "back: close the messenger and every other program of that prefix, then "
                    "press Change again.",
                Aftermath::kChanged);
        }
        return Result::Success();
    }

    Result FlushFolder() const {
        const UniqueFd folder(::open(prefix_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (folder && ::fsync(folder.Get()) == 0) return Result::Success();
        return Result::Failure(ErrorKind::kIoError,
                               "The registry file " + Quoted(hive_) +
                                   " was replaced, but its folder could not be flushed (" +
                                   std::strerror(errno) +
                                   "): the change may be lost if the computer stops now.",
                               Aftermath::kChanged);
    }

    const fs::path& prefix_;
    const fs::path hive_;
    const WineHiveStore::Options& options_;
    LockedHive locked_;
};

}  // namespace

WineHiveStore::WineHiveStore(fs::path prefix) : WineHiveStore(std::move(prefix), Options{}) {}

WineHiveStore::WineHiveStore(fs::path prefix, Options options)
    : prefix_(std::move(prefix)), options_(std::move(options)) {}

fs::path WineHiveStore::DefaultPrefix() {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix) return prefix;
    if (const char* home = std::getenv("HOME"); home && *home) return fs::path(home) / ".wine";
    if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir && *user->pw_dir) {
        return fs::path(user->pw_dir) / ".wine";
    }
    return {};
}

Result WineHiveStore::Apply(std::span<const StringWrite> writes) {
    if (writes.empty()) return Result::Success();
    return HiveCommit(prefix_, options_).Run(writes);
}

}  // namespace registry
