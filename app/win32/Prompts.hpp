// The Win32 window's modal boxes and open-file dialog, behind one interface so that a test can
// answer them directly instead of driving the system's dialogs.
#pragma once

#include "gdi/win32/windows.hpp"

#include <optional>
#include <string>
#include <string_view>

#include "app/WindowCommands.hpp"

namespace vornik::win32 {

class WindowPrompts {
  public:
    virtual ~WindowPrompts() = default;
    // A modal box over `owner`; see BoxPrompter.
    virtual BoxAnswer Ask(HWND owner, const BoxText& box) = 0;
    // A modal open-file dialog. `barFilter` is the "Description|pattern|..." string, `currentName`
    // the name the dialog holds from its last use. Returns the chosen file's full path, or
    // nullopt when the user cancelled. Throws std::runtime_error when the dialog fails.
    virtual std::optional<std::wstring> ChooseFileToOpen(HWND owner, std::string_view barFilter,
                                                         const std::wstring& currentName) = 0;
};

// MessageBoxW and GetOpenFileNameW.
class SystemPrompts final : public WindowPrompts {
  public:
    BoxAnswer Ask(HWND owner, const BoxText& box) override;
    std::optional<std::wstring> ChooseFileToOpen(HWND owner, std::string_view barFilter,
                                                 const std::wstring& currentName) override;
};

// "Gif Files|*.gif|" as the dialog's filter: the same pairs, each part ended by a zero, the list
// by a second zero.
std::wstring DialogFilter(std::string_view barFilter);

// A BoxPrompter that asks through `prompts` over `owner`.
class OwnedBoxes final : public BoxPrompter {
  public:
    OwnedBoxes(WindowPrompts& prompts, HWND owner) : prompts_(prompts), owner_(owner) {}
    BoxAnswer Ask(const BoxText& box) override { return prompts_.Ask(owner_, box); }

  private:
    WindowPrompts& prompts_;
    HWND owner_;
};

}  // namespace vornik::win32
