// Outcome of a registry write: success, or what failed and what the user can do about it.
#pragma once

#include <string>
#include <utility>

namespace registry {

enum class ErrorKind {
    kNone,
    kUnsupportedRoot,  // a root key other than HKEY_CURRENT_USER
    kInvalidArgument,  // key path or text that cannot be stored
    kNoPrefix,         // no Wine prefix (no messenger) at the configured place
    kNoHive,           // prefix without a user registry file
    kServerRunning,    // Wine holds the registry in memory and would overwrite the change
    kHiveDamaged,      // the registry file does not parse
    kAccessDenied,     // permissions forbid reading or writing
    kReadOnly,         // the file or its folder is read-only
    kNoSpace,          // disk full or file size limit reached
    kBusy,             // another writer kept the file locked too long
    kIoError,          // any other failure of the file system
};

// What a failed change left in the registry: most failures stop before anything is written.
enum class Aftermath {
    kUnchanged,      // nothing was written
    kChanged,        // every value was written, but the change is not known to be safe
    kPartlyChanged,  // some values were written and could not be taken back
};

class [[nodiscard]] Result {
  public:
    static Result Success() { return Result(ErrorKind::kNone, {}); }
    static Result Failure(ErrorKind kind, std::string message,
                          Aftermath left = Aftermath::kUnchanged) {
        Result result(kind, std::move(message));
        result.left_ = left;
        return result;
    }

    bool Ok() const { return kind_ == ErrorKind::kNone; }
    explicit operator bool() const { return Ok(); }
    ErrorKind Kind() const { return kind_; }
    // Empty on success; otherwise a sentence that says what failed and what to do.
    const std::string& Message() const { return message_; }
    Aftermath Left() const { return left_; }

  private:
    Result(ErrorKind kind, std::string message) : kind_(kind), message_(std::move(message)) {}

    ErrorKind kind_;
    std::string message_;
    Aftermath left_ = Aftermath::kUnchanged;
};

}  // namespace registry
