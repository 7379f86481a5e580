#include "app/registry/NativeRegistryStore.hpp"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/registry/HiveText.hpp"

namespace registry {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the registry API takes UTF-16 code units");

const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

class UniqueKey {
  public:
    UniqueKey() = default;
    UniqueKey(const UniqueKey&) = delete;
    UniqueKey& operator=(const UniqueKey&) = delete;
    ~UniqueKey() {
        if (key_) RegCloseKey(key_);
    }
    HKEY* Out() { return &key_; }
    HKEY Get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};

// What a value held before this change touched it, so it can be put back.
struct PriorValue {
    std::u16string keyPath;
    std::u16string valueName;
    bool existed = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
};

// Keys this change made and values it replaced, in the order it did so.
struct UndoLog {
    std::vector<std::u16string> createdKeys;
    std::vector<PriorValue> priorValues;
};

std::string SystemText(LONG error) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::u16string text;
    if (length > 0 && buffer) text.assign(reinterpret_cast<const char16_t*>(buffer), length);
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ' ||
                             text.back() == u'.')) {
        text.pop_back();
    }
    if (text.empty()) return "system error " + std::to_string(error);
    return Utf16ToUtf8(text);
}

ErrorKind KindOf(LONG error) {
    switch (error) {
        case ERROR_ACCESS_DENIED:
            return ErrorKind::kAccessDenied;
        case ERROR_WRITE_PROTECT:
            return ErrorKind::kReadOnly;
        case ERROR_DISK_FULL:
        case ERROR_NO_SYSTEM_RESOURCES:
        case ERROR_NOT_ENOUGH_QUOTA:
            return ErrorKind::kNoSpace;
        case ERROR_BADDB:
        case ERROR_BADKEY:
        case ERROR_REGISTRY_CORRUPT:
            return ErrorKind::kHiveDamaged;
        default:
            return ErrorKind::kIoError;
    }
}

std::string Where(const StringWrite& write) {
    return "\"" + Utf16ToUtf8(write.valueName) + "\" in HKEY_CURRENT_USER\\" +
           Utf16ToUtf8(write.keyPath);
}

// Opens the write's key for reading and setting values, creating it and every missing key above
// it one level at a time, so that each key made here is known and can be removed again.
LONG OpenOrCreateKey(const std::u16string& keyPath, UndoLog& undo, UniqueKey& key) {
    std::size_t end = 0;
    for (;;) {
        end = keyPath.find(u'\\', end);
        const std::u16string level = keyPath.substr(0, end);
        const bool last = end == std::u16string::npos;
        UniqueKey opened;
        DWORD disposition = 0;
        const REGSAM access = last ? KEY_QUERY_VALUE | KEY_SET_VALUE : KEY_QUERY_VALUE;
        const LONG status =
            RegCreateKeyExW(HKEY_CURRENT_USER, Wide(level), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            access, nullptr, last ? key.Out() : opened.Out(), &disposition);
        if (status != ERROR_SUCCESS) return status;
        if (disposition == REG_CREATED_NEW_KEY) undo.createdKeys.push_back(level);
        if (last) return ERROR_SUCCESS;
        ++end;
    }
}

LONG ReadPrior(HKEY key, const StringWrite& write, PriorValue& prior) {
    prior.keyPath = write.keyPath;
    prior.valueName = write.valueName;
    for (;;) {
        DWORD size = static_cast<DWORD>(prior.bytes.size());
        const LONG status =
            RegQueryValueExW(key, Wide(write.valueName), nullptr, &prior.type,
                             prior.bytes.empty() ? nullptr : prior.bytes.data(), &size);
        if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
        if (status == ERROR_MORE_DATA || (status == ERROR_SUCCESS && prior.bytes.empty() && size)) {
            prior.bytes.resize(size);
            continue;
        }
        if (status != ERROR_SUCCESS) return status;
        prior.existed = true;
        prior.bytes.resize(size);
        return ERROR_SUCCESS;
    }
}

LONG SetString(HKEY key, const StringWrite& write) {
    // REG_SZ data carries its terminating zero.
    const std::uint64_t bytes = (write.data.size() + 1) * sizeof(char16_t);
    if (bytes > 0xFFFFFFFFu) return ERROR_INVALID_PARAMETER;
    return RegSetValueExW(key, Wide(write.valueName), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(write.data.c_str()),
                          static_cast<DWORD>(bytes));
}

LONG PutBack(const PriorValue& prior) {
    UniqueKey key;
    LONG status =
        RegOpenKeyExW(HKEY_CURRENT_USER, Wide(prior.keyPath), 0, KEY_SET_VALUE, key.Out());
    if (status != ERROR_SUCCESS) return status;
    if (!prior.existed) {
        status = RegDeleteValueW(key.Get(), Wide(prior.valueName));
        return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
    }
    return RegSetValueExW(key.Get(), Wide(prior.valueName), 0, prior.type,
                          prior.bytes.empty() ? nullptr : prior.bytes.data(),
                          static_cast<DWORD>(prior.bytes.size()));
}

// Undoes the change newest first; says what could not be put back, or nothing.
std::string Rollback(const UndoLog& undo) {
    std::string trouble;
    for (auto it = undo.priorValues.rbegin(); it != undo.priorValues.rend(); ++it) {
        if (const LONG status = PutBack(*it); status != ERROR_SUCCESS) {
            trouble += " \"" + Utf16ToUtf8(it->valueName) + "\": " + SystemText(status) + ".";
        }
    }
    for (auto it = undo.createdKeys.rbegin(); it != undo.createdKeys.rend(); ++it) {
        const LONG status = RegDeleteKeyW(HKEY_CURRENT_USER, Wide(*it));
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
            trouble += " key " + Utf16ToUtf8(*it) + ": " + SystemText(status) + ".";
        }
    }
    return trouble;
}

LONG ApplyOne(const StringWrite& write, UndoLog& undo) {
    UniqueKey key;
    if (const LONG status = OpenOrCreateKey(write.keyPath, undo, key); status != ERROR_SUCCESS) {
        return status;
    }
    PriorValue prior;
    if (const LONG status = ReadPrior(key.Get(), write, prior); status != ERROR_SUCCESS) {
        return status;
    }
    const LONG status = SetString(key.Get(), write);
    // Recorded even on failure: a failed set may still have changed the value.
    undo.priorValues.push_back(std::move(prior));
    return status;
}

}  // namespace

Result NativeRegistryStore::Apply(std::span<const StringWrite> writes) {
    UndoLog undo;
    for (std::size_t i = 0; i < writes.size(); ++i) {
        LONG status = ERROR_SUCCESS;
        if (options_.beforeWrite && !options_.beforeWrite(i)) {
            status = ERROR_ACCESS_DENIED;
        } else {
            status = ApplyOne(writes[i], undo);
        }
        if (status == ERROR_SUCCESS) continue;
        const std::string failed =
            "Could not store the value " + Where(writes[i]) + ": " + SystemText(status) + ".";
        const std::string trouble = Rollback(undo);
        if (trouble.empty())
            return Result::Failure(KindOf(status), failed + " Nothing was changed.");
        return Result::Failure(KindOf(status),
                               failed +
                                   " Some earlier parts of this change could not be put back "
                                   "and remain in the registry:" +
                                   trouble,
                               Aftermath::kPartlyChanged);
    }
    return Result::Success();
}

}  // namespace registry
