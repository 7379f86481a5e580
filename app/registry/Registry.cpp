#include "app/registry/Registry.hpp"

#include <cstdio>
#include <string>

#include "app/registry/HiveText.hpp"
#ifdef _WIN32
#include "app/registry/NativeRegistryStore.hpp"
#else
#include "app/registry/WineHiveStore.hpp"
#endif

namespace registry {
namespace {

// Limits the registry itself enforces; a longer name would be refused by Windows.
constexpr std::size_t kMaxKeyNameUnits = 255;
constexpr std::size_t kMaxValueNameUnits = 16383;

Result Invalid(std::string message) {
    return Result::Failure(ErrorKind::kInvalidArgument, std::move(message));
}

std::string Shown(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

Result CheckKeyPath(std::string_view utf8, const std::u16string& path) {
    if (path.empty()) return Invalid("No key path was given for the value.");
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = path.find(u'\\', start);
        const std::size_t length = (slash == std::u16string::npos ? path.size() : slash) - start;
        if (length == 0) {
            return Invalid("The key path " + Shown(utf8) +
                           " has an empty key name (a leading, trailing or doubled backslash).");
        }
        if (length > kMaxKeyNameUnits) {
            return Invalid("A key name in " + Shown(utf8) + " is longer than " +
                           std::to_string(kMaxKeyNameUnits) + " characters.");
        }
        if (slash == std::u16string::npos) return Result::Success();
        start = slash + 1;
    }
}

// Turns the caller's arguments into a write the store can take, or says why it cannot.
Result MakeWrite(std::uint32_t rootKey, std::string_view keyPath, std::string_view valueName,
                 std::string_view data, StringWrite& write) {
    if (rootKey != kHkeyCurrentUser) {
        char hex[16];
        std::snprintf(hex, sizeof(hex), "0x%08X", rootKey);
        return Result::Failure(ErrorKind::kUnsupportedRoot,
                               std::string("Only HKEY_CURRENT_USER (0x80000001) can be written; "
                                           "the root key ") +
                                   hex + " is not supported.");
    }
    auto path = Utf8ToUtf16(keyPath);
    auto name = Utf8ToUtf16(valueName);
    auto text = Utf8ToUtf16(data);
    if (!path || !name || !text) {
        return Invalid("The key path, value name or value data is not valid UTF-8 text.");
    }
    if (Result r = CheckKeyPath(keyPath, *path); !r) return r;
    if (name->size() > kMaxValueNameUnits) {
        return Invalid("The value name is longer than " + std::to_string(kMaxValueNameUnits) +
                       " characters.");
    }
    write = {std::move(*path), std::move(*name), std::move(*text)};
    return Result::Success();
}

}  // namespace

Result Transaction::SetStringValue(std::uint32_t rootKey, std::string_view keyPath,
                                   std::string_view valueName, std::string_view data) {
    if (committed_) return Invalid("This change was already saved; start a new one.");
    StringWrite write;
    Result result = MakeWrite(rootKey, keyPath, valueName, data, write);
    if (!result) {
        if (!refusal_) refusal_ = result;
        return result;
    }
    writes_.push_back(std::move(write));
    return result;
}

Result Transaction::Commit() {
    if (committed_) return Invalid("This change was already saved; start a new one.");
    committed_ = true;
    if (refusal_) return *refusal_;
    return store_->Apply(writes_);
}

Registry::Registry(std::unique_ptr<RegistryStore> store) : store_(std::move(store)) {}

Registry Registry::ForCurrentUser() {
#ifdef _WIN32
    return Registry(std::make_unique<NativeRegistryStore>());
#else
    return Registry(std::make_unique<WineHiveStore>(WineHiveStore::DefaultPrefix()));
#endif
}

Result Registry::SetStringValue(std::uint32_t rootKey, std::string_view keyPath,
                                std::string_view valueName, std::string_view data) {
    Transaction transaction = Begin();
    if (Result r = transaction.SetStringValue(rootKey, keyPath, valueName, data); !r) return r;
    return transaction.Commit();
}

}  // namespace registry
