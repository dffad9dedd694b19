// Observes the message boxes that the calling thread shows, for real: a
// computer-based-training hook on this thread sees each box as it becomes
// active, reads its caption, text and buttons, and presses OK.
//
// Message boxes need a display (under Wine: an X server such as Xvfb);
// without one MessageBoxA fails at once and no box is seen.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct SeenMessageBox {
    std::string caption;
    std::string text;
    std::vector<int> button_ids;  // the visible buttons' control IDs
    bool has_icon = false;        // a visible icon beside the text
};

class MessageBoxWatch {
public:
    MessageBoxWatch();
    ~MessageBoxWatch();
    MessageBoxWatch(const MessageBoxWatch&) = delete;
    MessageBoxWatch& operator=(const MessageBoxWatch&) = delete;

    bool installed() const { return hook_ != nullptr; }
    // Every box seen on this thread since the watch began, in order.
    const std::vector<SeenMessageBox>& boxes() const { return boxes_; }

private:
    static LRESULT CALLBACK on_cbt(int code, WPARAM wparam, LPARAM lparam);
    static BOOL CALLBACK on_child(HWND child, LPARAM lparam);

    HHOOK hook_;
    HWND last_ = nullptr;  // a box is counted once, however often it is activated
    std::vector<SeenMessageBox> boxes_;
};
