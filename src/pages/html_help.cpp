#include "pages/html_help.h"

#include <htmlhelp.h>

#include <string>

namespace qlm {
namespace {

constexpr wchar_t kServerKey[] = L"CLSID\\{adb880a6-d8ff-11cf-9377-00aa003b7a11}\\InprocServer32";
constexpr wchar_t kWindowType[] = L"HHEmbeddedWindow";

std::wstring RegisteredServer() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kServerKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    win::UniqueRegKey owned(key);
    wchar_t value[MAX_PATH * 2] = {};
    DWORD size = sizeof(value) - sizeof(wchar_t);
    DWORD type = 0;
    if (RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS)
        return {};
    std::wstring path(value);
    if (type == REG_EXPAND_SZ) {
        wchar_t expanded[MAX_PATH * 2] = {};
        if (ExpandEnvironmentStringsW(path.c_str(), expanded, MAX_PATH * 2)) path = expanded;
    }
    return path;
}

}  // namespace

bool HtmlHelpLibrary::Load() {
    if (module_) return true;
    std::wstring path = RegisteredServer();
    if (path.empty() || GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    win::UniqueModule module(LoadLibraryW(path.c_str()));
    if (!module) return false;
    auto a = GetProcAddress(module.get(), "HtmlHelpA");
    auto w = GetProcAddress(module.get(), "HtmlHelpW");
    if (!a || !w) return false;  // the module is freed again here
    htmlHelpW_ = reinterpret_cast<HtmlHelpWProc>(reinterpret_cast<void*>(w));
    module_ = std::move(module);
    return true;
}

HWND HtmlHelpLibrary::ShowEmbedded(const std::u16string& file, HWND parent) {
    if (!htmlHelpW_) return nullptr;
    RECT client{};
    GetClientRect(parent, &client);
    // The header spells the strings as TCHAR; the W entry point reads them wide.
    HH_WINTYPE type{};
    type.cbStruct = sizeof(type);
    type.fUniCodeStrings = TRUE;
    type.pszType = reinterpret_cast<LPCTSTR>(kWindowType);
    type.pszCaption = reinterpret_cast<LPCTSTR>(L"");
    type.fsValidMembers = HHWIN_PARAM_PROPERTIES | HHWIN_PARAM_STYLES | HHWIN_PARAM_EXSTYLES | HHWIN_PARAM_RECT |
                          HHWIN_PARAM_SHOWSTATE | HHWIN_PARAM_TB_FLAGS | HHWIN_PARAM_EXPANSION;
    type.fsWinProperties = HHWIN_PROP_NOTITLEBAR | HHWIN_PROP_NODEF_STYLES | HHWIN_PROP_NODEF_EXSTYLES |
                           HHWIN_PROP_TRI_PANE | HHWIN_PROP_NO_TOOLBAR;
    type.dwStyles = WS_CHILD | WS_VISIBLE;
    type.dwExStyles = 0;
    type.rcWindowPos = {0, 0, client.right, client.bottom};
    type.nShowState = SW_SHOW;
    type.fsToolBarFlags = HHWIN_BUTTON_BACK | HHWIN_BUTTON_FORWARD | HHWIN_BUTTON_HOME | HHWIN_BUTTON_PRINT;
    type.fNotExpanded = TRUE;
    htmlHelpW_(nullptr, nullptr, HH_SET_WIN_TYPE, reinterpret_cast<DWORD_PTR>(&type));
    std::wstring topic = std::wstring(file.begin(), file.end()) + L"::/start.htm>" + kWindowType;
    return htmlHelpW_(parent, topic.c_str(), HH_DISPLAY_TOPIC, 0);
}

void HtmlHelpLibrary::CloseAll() {
    if (htmlHelpW_) htmlHelpW_(nullptr, nullptr, HH_CLOSE_ALL, 0);
}

void HtmlHelpLibrary::Unload() {
    if (!module_) return;
    CloseAll();
    htmlHelpW_ = nullptr;
    module_.reset();
}

}  // namespace qlm
