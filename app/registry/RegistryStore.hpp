// The place string values are stored: the Wine user hive here, the native registry on Windows.
#pragma once

#include <span>
#include <string>

#include "app/registry/Result.hpp"

namespace registry {

// One REG_SZ write below HKEY_CURRENT_USER. Text is UTF-16 code units, as the registry keeps it;
// the key path uses single backslashes between key names.
struct StringWrite {
    std::u16string keyPath;
    std::u16string valueName;
    std::u16string data;
};

class RegistryStore {
  public:
    virtual ~RegistryStore() = default;

    // Stores every write, creating missing keys, or stores none of them and says why.
    // Later writes of the same key and value name win.
    virtual Result Apply(std::span<const StringWrite> writes) = 0;
};

}  // namespace registry
