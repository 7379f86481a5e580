// Shared pieces of the window tests: a Wine prefix in a temporary folder whose user hive is read
// back after each command, and a dialog service that answers boxes from a script.
#pragma once

#include <QString>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/DialogService.hpp"
#include "app/FrmVornik.hpp"
#include "app/MessengerTarget.hpp"
#include "app/registry/WineHiveStore.hpp"

// Readable QStrings in assertion messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace vornik::test {

// The values of one key as the hive file holds them: name (lower case) -> raw value text after
// the '=' ("\"data\"" for a string, "dword:..." for a number).
using HiveKey = std::map<std::string, std::string>;

// A fresh prefix with a small user hive that Wine itself would load, its own drive_c as C: and
// the root of this system as Z:, as wineboot makes them.
class TempPrefix {
  public:
    TempPrefix();
    ~TempPrefix();
    TempPrefix(const TempPrefix&) = delete;
    TempPrefix& operator=(const TempPrefix&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path Hive() const { return path_ / "user.reg"; }
    std::string HiveText() const;
    void WriteHive(const std::string& text) const;

    // Values of the key at `keyPath` (single backslashes), nullopt when the hive has no section.
    std::optional<HiveKey> Key(const std::string& keyPath) const;
    // The data of a REG_SZ value decoded to UTF-8; nullopt when absent or of another type.
    std::optional<std::string> StringValue(const std::string& keyPath,
                                           const std::string& valueName) const;

  private:
    std::filesystem::path path_;
};

// The hive every prefix starts with: an unrelated key and an old banner value of another type.
std::string InitialHiveText();

class ScriptedDialogs final : public DialogService {
  public:
    BoxAnswer ShowMessage(QWidget* parent, const MessageBoxRequest& request) override;
    std::optional<QString> ChooseFileToOpen(QWidget* parent, const QString& filter,
                                            const QString& currentName,
                                            const QString& startFolder) override;
    std::optional<registry::PlacePick> ChooseSettingsPlace(
        QWidget* parent, std::span<const registry::SettingsPlace> places) override;

    std::vector<MessageBoxRequest> boxes;
    std::deque<BoxAnswer> answers;  // when empty: OK, or Yes for a Yes/No box
    struct FileRequest {
        QString filter;
        QString currentName;
    };
    std::vector<FileRequest> fileRequests;
    std::deque<std::optional<QString>> fileAnswers;  // when empty: cancelled
    std::vector<std::vector<registry::SettingsPlace>> placeRequests;
    std::deque<std::optional<registry::PlacePick>> placeAnswers;  // when empty: cancelled
};

// One place settled in advance: the prefix at `folder`, written with `options`.
MessengerTarget::Search OnePlace(const std::filesystem::path& folder);
MessengerTarget::MakeStore StoreWith(registry::WineHiveStore::Options options);
// The stores "Change" uses (registry::StoreFor), kept out of the system's own server folders:
// theirs are in ServerFoldersOf(the prefix) (made by a test that needs it).
MessengerTarget::MakeStore TestStores();
std::filesystem::path ServerFoldersOf(const std::filesystem::path& prefix);

// A shown window over a temporary prefix (or the places `search` finds), with the dialogs
// scripted.
struct WindowUnderTest {
    WindowUnderTest();
    explicit WindowUnderTest(const std::filesystem::path& prefix);
    WindowUnderTest(MessengerTarget::Search search, MessengerTarget::MakeStore makeStore,
                    MessengerTarget::FolderPlace folderPlace = MessengerTarget::OfThisSystem);

    TempPrefix prefix;
    ScriptedDialogs dialogs;
    MessengerTarget target;
    std::unique_ptr<FrmVornik> window;

    void ClickChange();
    void ClickBrowse();
    void ClickHelp();
};

}  // namespace vornik::test
