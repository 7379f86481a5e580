// The registry writer on the Windows registry API, read back through the same API. Built for
// Windows; on Linux it is cross-compiled and run under Wine. Exit status 0 when every check holds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/registry/NativeRegistryStore.hpp"
#include "app/registry/Registry.hpp"

namespace {

using registry::kHkeyCurrentUser;
using registry::NativeRegistryStore;
using registry::Registry;

constexpr const char* kRoot = "Software\\VornikNativeCheck";
constexpr const wchar_t* kRootWide = L"Software\\VornikNativeCheck";

int failures = 0;

void Check(bool ok, const char* what) {
    if (!ok) {
        std::printf("FAILED: %s\n", what);
        ++failures;
    }
}

std::wstring Wide(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

struct Stored {
    bool found = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
};

Stored Read(const std::string& key, const wchar_t* name) {
    Stored stored;
    DWORD size = 0;
    const std::wstring path = Wide(key);
    if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &stored.type,
                     nullptr, &size) != ERROR_SUCCESS) {
        return stored;
    }
    stored.bytes.resize(size);
    stored.found = RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND,
                                &stored.type, stored.bytes.data(), &size) == ERROR_SUCCESS;
    stored.bytes.resize(size);
    return stored;
}

// REG_SZ holding exactly these code units and its terminating zero.
bool HoldsString(const Stored& stored, const std::u16string& text) {
    const std::u16string terminated = text + u'\0';
    return stored.found && stored.type == REG_SZ &&
           stored.bytes.size() == terminated.size() * sizeof(char16_t) &&
           std::equal(stored.bytes.begin(), stored.bytes.end(),
                      reinterpret_cast<const BYTE*>(terminated.data()));
}

bool KeyExists(const std::string& key) {
    HKEY handle = nullptr;
    const std::wstring path = Wide(key);
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(handle);
    return true;
}

void CheckStringSemantics() {
    Registry reg = Registry::ForCurrentUser();
    const std::string deep = std::string(kRoot) + "\\Nested\\Deeper";
    Check(reg.SetStringValue(kHkeyCurrentUser, deep, "Banner", "C:\\ads\\none.gif").Ok(),
          "a value in a key path that does not exist yet is stored");
    Check(HoldsString(Read(deep, L"Banner"), u"C:\\ads\\none.gif"),
          "the value reads back as REG_SZ with its text, every missing key made");

    const DWORD number = 7;
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kRootWide, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                    nullptr);
    RegSetValueExW(key, L"Typed", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof(number));
    RegCloseKey(key);
    Check(reg.SetStringValue(kHkeyCurrentUser, kRoot, "Typed", "text").Ok() &&
              HoldsString(Read(kRoot, L"Typed"), u"text"),
          "a DWORD of the same name is replaced by the string");

    Check(reg.SetStringValue(kHkeyCurrentUser, kRoot, "Empty", "").Ok() &&
              HoldsString(Read(kRoot, L"Empty"), u""),
          "empty data is an empty string, not a missing value");

    Check(reg.SetStringValue(kHkeyCurrentUser, kRoot, "Twice", "same").Ok() &&
              reg.SetStringValue(kHkeyCurrentUser, kRoot, "twice", "same").Ok() &&
              HoldsString(Read(kRoot, L"Twice"), u"same"),
          "the same write twice leaves the one value");

    Check(reg.SetStringValue(kHkeyCurrentUser, kRoot, "Unicode",
                             "\xD0\x96 \xE2\x82\xAC \xF0\x9F\x98\x80")
                  .Ok() &&
              HoldsString(Read(kRoot, L"Unicode"), u"\u0416 \u20AC \U0001F600"),
          "text outside the ANSI code page is stored exactly");

    Check(!reg.SetStringValue(0x80000002, kRoot, "Other", "x").Ok() && !Read(kRoot, L"Other").found,
          "a root other than HKEY_CURRENT_USER is refused");
}

void CheckFailedChangeIsTakenBack() {
    const std::string keep = std::string(kRoot) + "\\Keep";
    Registry plain = Registry::ForCurrentUser();
    Check(plain.SetStringValue(kHkeyCurrentUser, keep, "Tab", "old").Ok(), "the old value is set");

    NativeRegistryStore::Options options;
    options.beforeWrite = [](std::size_t index) { return index < 2; };
    Registry failing(std::make_unique<NativeRegistryStore>(options));
    registry::Transaction change = failing.Begin();
    Check(change.SetStringValue(kHkeyCurrentUser, keep, "Tab", "new").Ok(), "first write staged");
    Check(
        change.SetStringValue(kHkeyCurrentUser, std::string(kRoot) + "\\Made\\Here", "Banner", "x")
            .Ok(),
        "second write staged");
    Check(change.SetStringValue(kHkeyCurrentUser, keep, "Third", "y").Ok(), "third write staged");
    const registry::Result result = change.Commit();

    Check(!result.Ok(), "the change fails when its third write fails");
    Check(result.Message().find("\"Third\"") != std::string::npos &&
              result.Message().find("Nothing was changed.") != std::string::npos,
          "the failure names the value and says nothing was changed");
    Check(HoldsString(Read(keep, L"Tab"), u"old"), "the replaced value has its old text again");
    Check(!KeyExists(std::string(kRoot) + "\\Made"), "the keys the change made are gone again");
    Check(!Read(keep, L"Third").found, "the failed value is not there");
}

}  // namespace

int main() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kRootWide);
    CheckStringSemantics();
    CheckFailedChangeIsTakenBack();
    RegDeleteTreeW(HKEY_CURRENT_USER, kRootWide);
    if (failures == 0) std::printf("native registry store: every check holds\n");
    return failures == 0 ? 0 : 1;
}
