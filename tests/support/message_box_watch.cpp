#include "support/message_box_watch.h"

#include <cstring>

namespace {

// The watch of the thread that shows the box (one at a time; tests are
// single-threaded).
MessageBoxWatch* g_watch = nullptr;
// The static control that holds a message box's text.
constexpr int kMessageTextId = 0xFFFF;

std::string class_of(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

}  // namespace

MessageBoxWatch::MessageBoxWatch() {
    g_watch = this;
    hook_ = SetWindowsHookExA(WH_CBT, &MessageBoxWatch::on_cbt, nullptr, GetCurrentThreadId());
}

MessageBoxWatch::~MessageBoxWatch() {
    if (hook_)
        UnhookWindowsHookEx(hook_);
    g_watch = nullptr;
}

BOOL CALLBACK MessageBoxWatch::on_child(HWND child, LPARAM lparam) {
    SeenMessageBox& box = *reinterpret_cast<SeenMessageBox*>(lparam);
    // The box itself may not be shown yet: judge each control by its own style.
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    if (!(style & WS_VISIBLE))
        return TRUE;
    const std::string kind = class_of(child);
    if (_stricmp(kind.c_str(), "Button") == 0)
        box.button_ids.push_back(GetDlgCtrlID(child));
    else if (_stricmp(kind.c_str(), "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON &&
             SendMessageA(child, STM_GETICON, 0, 0) != 0)
        box.has_icon = true;
    return TRUE;
}

LRESULT CALLBACK MessageBoxWatch::on_cbt(int code, WPARAM wparam, LPARAM lparam) {
    HWND window = reinterpret_cast<HWND>(wparam);
    // A message box is a dialog of the system's dialog class.
    if (code == HCBT_ACTIVATE && g_watch && window != g_watch->last_ && class_of(window) == "#32770") {
        g_watch->last_ = window;
        SeenMessageBox box;
        char text[2048] = "";
        GetWindowTextA(window, text, sizeof text);
        box.caption = text;
        text[0] = '\0';
        GetDlgItemTextA(window, kMessageTextId, text, sizeof text);
        box.text = text;
        EnumChildWindows(window, &MessageBoxWatch::on_child, reinterpret_cast<LPARAM>(&box));
        g_watch->boxes_.push_back(box);
        // Press OK once the box runs its own message loop.
        PostMessageA(window, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}
