#include "app/win32/Prompts.hpp"

#include <commdlg.h>

#include <cstdio>
#include <stdexcept>
#include <vector>

#include "host/win32/WideText.hpp"

namespace vornik::win32 {

namespace {

using tarvex::win32::Widen;

// Room for the longest path the system takes.
constexpr std::size_t kPathUnits = 32768;

UINT BoxFlags(const BoxText& box) {
    UINT flags = box.buttons == BoxButtons::kYesNo ? MB_YESNO : MB_OK;
    switch (box.icon) {
        case BoxIcon::kInformation:
            flags |= MB_ICONINFORMATION;
            break;
        case BoxIcon::kCritical:
            flags |= MB_ICONERROR;
            break;
        case BoxIcon::kNone:
            break;
    }
    return flags;
}

}  // namespace

std::wstring DialogFilter(std::string_view barFilter) {
    std::wstring filter = Widen(barFilter);
    for (wchar_t& c : filter) {
        if (c == L'|') c = L'\0';
    }
    if (filter.empty() || filter.back() != L'\0') filter.push_back(L'\0');
    filter.push_back(L'\0');
    return filter;
}

// A Yes/No box of the system offers no other way out, so its answer is always one of the two.
BoxAnswer SystemPrompts::Ask(HWND owner, const BoxText& box) {
    const int answer =
        MessageBoxW(owner, Widen(box.text).c_str(), Widen(box.title).c_str(), BoxFlags(box));
    if (answer == 0) {
        throw std::runtime_error("a message box cannot be shown (error " +
                                 std::to_string(GetLastError()) + ")");
    }
    if (box.buttons == BoxButtons::kYesNo)
        return answer == IDYES ? BoxAnswer::kYes : BoxAnswer::kNo;
    return BoxAnswer::kOk;
}

std::optional<std::wstring> SystemPrompts::ChooseFileToOpen(HWND owner, std::string_view barFilter,
                                                            const std::wstring& currentName) {
    const std::wstring filter = DialogFilter(barFilter);
    std::vector<wchar_t> file(kPathUnits, L'\0');
    currentName.copy(file.data(), std::min(currentName.size(), kPathUnits - 1));
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = DWORD(file.size());
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (GetOpenFileNameW(&ofn)) return std::wstring(file.data());
    if (const DWORD error = CommDlgExtendedError()) {
        char code[16];
        std::snprintf(code, sizeof(code), "0x%04lX", static_cast<unsigned long>(error));
        throw std::runtime_error(std::string("The open-file dialog failed (error ") + code + ").");
    }
    return std::nullopt;  // cancelled
}

}  // namespace vornik::win32
