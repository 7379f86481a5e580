#include "AppTestSupport.hpp"

#include <QApplication>
#include <QTest>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "app/registry/WineHiveStore.hpp"
#include "host/qt/TarvexButtonWidget.hpp"

namespace vornik::test {
namespace {

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Wine's escapes: \\ \" \n \r \t \0 and \x with up to four hex digits of a UTF-16 code unit.
// Plain bytes of the file are taken as they are (the hive is ASCII apart from them).
std::string Unescape(const std::string& text) {
    std::u16string units;
    std::string out;
    auto flushUnits = [&] {
        for (std::size_t i = 0; i < units.size(); ++i) {
            char32_t c = units[i];
            if (c >= 0xD800 && c < 0xDC00 && i + 1 < units.size()) {
                c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
            }
            AppendUtf8(out, c);
        }
        units.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            flushUnits();
            out += text[i];
            continue;
        }
        const char next = text[++i];
        if (next == 'x') {
            char16_t unit = 0;
            int digits = 0;
            while (digits < 4 && i + 1 < text.size() && HexDigit(text[i + 1]) >= 0) {
                unit = static_cast<char16_t>(unit * 16 + HexDigit(text[++i]));
                ++digits;
            }
            units += unit;
            continue;
        }
        flushUnits();
        switch (next) {
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case '0':
                out += '\0';
                break;
            default:
                out += next;
                break;
        }
    }
    flushUnits();
    return out;
}

std::string SectionHeaderFor(const std::string& keyPath) {
    std::string escaped;
    for (char c : keyPath) {
        escaped += c;
        if (c == '\\') escaped += '\\';
    }
    return "[" + escaped + "]";
}

}  // namespace

std::string InitialHiveText() {
    return "WINE REGISTRY Version 2\n"
           ";; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n"
           "\n"
           "#arch=win64\n"
           "\n"
           "[Software\\\\Wine] 1700000000\n"
           "#time=1da13a8f6c2a000\n"
           "\"Version\"=\"win10\"\n"
           "\n"
           "[Software\\\\Yahoo\\\\Pager\\\\yurl] 1700000000\n"
           "#time=1da13a8f6c2a000\n"
           "\"Chat Adurl\"=dword:00000001\n"
           "\"Other Setting\"=\"keep me\"\n"
           "\n";
}

TempPrefix::TempPrefix() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vornik-app-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
    WriteHive(InitialHiveText());
    std::filesystem::create_directories(path_ / "drive_c");
    std::filesystem::create_directories(path_ / "dosdevices");
    std::filesystem::create_symlink("../drive_c", path_ / "dosdevices" / "c:");
    std::filesystem::create_symlink("/", path_ / "dosdevices" / "z:");
}

TempPrefix::~TempPrefix() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string TempPrefix::HiveText() const {
    std::ifstream in(Hive(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void TempPrefix::WriteHive(const std::string& text) const {
    std::ofstream out(Hive(), std::ios::binary | std::ios::trunc);
    out << text;
}

std::optional<HiveKey> TempPrefix::Key(const std::string& keyPath) const {
    std::istringstream lines(HiveText());
    const std::string header = Lower(SectionHeaderFor(keyPath));
    std::string line;
    bool inSection = false;
    std::optional<HiveKey> key;
    while (std::getline(lines, line)) {
        if (!line.empty() && line[0] == '[') {
            inSection = Lower(line).rfind(header, 0) == 0 &&
                        (line.size() == header.size() || line[header.size()] == ' ');
            if (inSection) key.emplace();
            continue;
        }
        if (!inSection || line.empty() || line[0] != '"') continue;
        std::size_t close = 1;
        while (close < line.size() && !(line[close] == '"' && line[close - 1] != '\\')) ++close;
        const std::string name = Unescape(line.substr(1, close - 1));
        (*key)[Lower(name)] = line.substr(close + 2);
    }
    return key;
}

std::optional<std::string> TempPrefix::StringValue(const std::string& keyPath,
                                                   const std::string& valueName) const {
    const std::optional<HiveKey> key = Key(keyPath);
    if (!key) return std::nullopt;
    const auto value = key->find(Lower(valueName));
    if (value == key->end()) return std::nullopt;
    const std::string& raw = value->second;
    if (raw.size() < 2 || raw.front() != '"' || raw.back() != '"') return std::nullopt;
    return Unescape(raw.substr(1, raw.size() - 2));
}

BoxAnswer ScriptedDialogs::ShowMessage(QWidget*, const MessageBoxRequest& request) {
    boxes.push_back(request);
    if (!answers.empty()) {
        const BoxAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return request.buttons == BoxButtons::kYesNo ? BoxAnswer::kYes : BoxAnswer::kOk;
}

std::optional<registry::PlacePick> ScriptedDialogs::ChooseSettingsPlace(
    QWidget*, std::span<const registry::SettingsPlace> places) {
    placeRequests.emplace_back(places.begin(), places.end());
    if (placeAnswers.empty()) return std::nullopt;
    const std::optional<registry::PlacePick> answer = placeAnswers.front();
    placeAnswers.pop_front();
    return answer;
}

std::optional<QString> ScriptedDialogs::ChooseFileToOpen(QWidget*, const QString& filter,
                                                         const QString& currentName,
                                                         const QString&) {
    fileRequests.push_back({filter, currentName});
    if (fileAnswers.empty()) return std::nullopt;
    const bool cancelled = !fileAnswers.front().has_value();
    const QString chosen = fileAnswers.front().value_or(QString());
    fileAnswers.pop_front();
    if (cancelled) return std::nullopt;
    return chosen;
}

MessengerTarget::Search OnePlace(const std::filesystem::path& folder) {
    return [folder] {
        return registry::PlaceSearch{{{folder, "Wine", registry::SettingsPresence::kPresent}},
                                     "~/.wine"};
    };
}

MessengerTarget::MakeStore StoreWith(registry::WineHiveStore::Options options) {
    return [options](const registry::SettingsPlace& place, std::string_view lookedIn) {
        registry::WineHiveStore::Options own = options;
        // Holding off a starting server would make its folders in the real /tmp: these tests
        // look for one through the processes alone.
        if (own.serverRoot == "/tmp") own.serverRoot = ServerFoldersOf(place.folder);
        if (own.lookedIn.empty()) own.lookedIn = std::string(lookedIn);
        return std::make_unique<registry::WineHiveStore>(place.folder, own);
    };
}

std::filesystem::path ServerFoldersOf(const std::filesystem::path& prefix) {
    return prefix / "server-folders";
}

MessengerTarget::MakeStore TestStores() {
    return StoreWith({});
}

WindowUnderTest::WindowUnderTest() : WindowUnderTest(std::filesystem::path()) {}

WindowUnderTest::WindowUnderTest(const std::filesystem::path& prefixOverride)
    // The search runs on first use, when `prefix` has long been made.
    : WindowUnderTest(
          [this, prefixOverride] {
              return OnePlace(prefixOverride.empty() ? prefix.Path() : prefixOverride)();
          },
          TestStores()) {}

WindowUnderTest::WindowUnderTest(MessengerTarget::Search search,
                                 MessengerTarget::MakeStore makeStore,
                                 MessengerTarget::FolderPlace folderPlace)
    : target(std::move(search), std::move(makeStore), std::move(folderPlace)) {
    window = std::make_unique<FrmVornik>(target, dialogs);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) throw std::runtime_error("window not shown");
}

namespace {
void LeftClick(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
}
}  // namespace

void WindowUnderTest::ClickChange() {
    LeftClick(window->CmdChange());
}
void WindowUnderTest::ClickBrowse() {
    LeftClick(window->CmdBrowse());
}
void WindowUnderTest::ClickHelp() {
    LeftClick(window->TarvexButton1());
}

}  // namespace vornik::test
