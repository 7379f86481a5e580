// The program's only access to the registry: string values below HKEY_CURRENT_USER.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "app/registry/RegistryStore.hpp"
#include "app/registry/Result.hpp"

namespace registry {

inline constexpr std::uint32_t kHkeyCurrentUser = 0x80000001;

// Values set here reach the store together on Commit, or not at all.
class Transaction {
  public:
    // Checks and stages one REG_SZ value: the key and every missing key above it are created,
    // any value of that name is replaced whatever its type, empty data is an empty string.
    // Text is UTF-8. A refused value makes the whole transaction fail on Commit.
    Result SetStringValue(std::uint32_t rootKey, std::string_view keyPath,
                          std::string_view valueName, std::string_view data);

    // One store update for everything staged. Nothing is written unless it all succeeds.
    Result Commit();

  private:
    friend class Registry;
    explicit Transaction(RegistryStore& store) : store_(&store) {}

    RegistryStore* store_;  // not owned; the Registry outlives its transactions
    std::vector<StringWrite> writes_;
    std::optional<Result> refusal_;
    bool committed_ = false;
};

class Registry {
  public:
    explicit Registry(std::unique_ptr<RegistryStore> store);

    // The current user's registry: on Windows the registry itself, elsewhere the user hive of
    // the Wine prefix named by WINEPREFIX (default ~/.wine).
    static Registry ForCurrentUser();

    // One value, committed at once.
    Result SetStringValue(std::uint32_t rootKey, std::string_view keyPath,
                          std::string_view valueName, std::string_view data);

    Transaction Begin() { return Transaction(*store_); }

  private:
    std::unique_ptr<RegistryStore> store_;
};

}  // namespace registry
