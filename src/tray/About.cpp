#include "tray/About.h"

#include "runtime/Application.h"

#include <windows.h>

// Every line is indented by two blanks; the notice ends in eight blanks.
const char AboutTextA[] =
    "  Hostglow v1.0\r\n"
    "  \xA9 2026 The Hostglow Project        \r\n"
    "  https://hostglow.example.org/\r\n"
    "  E-mail:hostglow@example.org";
const wchar_t AboutTextW[] =
    L"  Hostglow v1.0\r\n"
    L"  \u00A9 2026 The Hostglow Project        \r\n"
    L"  https://hostglow.example.org/\r\n"
    L"  E-mail:hostglow@example.org";

namespace {

static_assert(sizeof(void*) != 4 || sizeof(MSGBOXPARAMSA) == 40, "MSGBOXPARAMSA is 40 bytes");
static_assert(sizeof(void*) != 4 || sizeof(MSGBOXPARAMSW) == 40, "MSGBOXPARAMSW is 40 bytes");
static_assert(sizeof(OSVERSIONINFOA) == 148, "OSVERSIONINFOA is 148 bytes");

template <class Params, class Char>
Params AboutParams(const Char* text, const Char* caption, const Char* icon) {
    Params params = {};
    params.cbSize = sizeof params;
    params.hwndOwner = nullptr;
    params.hInstance = HInstance;
    params.lpszText = text;
    params.lpszCaption = caption;
    params.dwStyle = MB_USERICON | MB_OK | MB_APPLMODAL;
    params.lpszIcon = icon;
    return params;
}

bool IsNTFamily() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace

void ShowAbout() {
    if (IsNTFamily()) {
        const MSGBOXPARAMSW params = AboutParams<MSGBOXPARAMSW>(AboutTextW, L"About", L"MAINICON");
        MessageBoxIndirectW(&params);
    } else {
        const MSGBOXPARAMSA params = AboutParams<MSGBOXPARAMSA>(AboutTextA, "About", "MAINICON");
        MessageBoxIndirectA(&params);
    }
}
