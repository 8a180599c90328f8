#include "win_test_support.h"

RecordingWindow::RecordingWindow(UINT first, UINT last) : first_(first), last_(last) {
    static const wchar_t* const class_name = [] {
        WNDCLASSW window_class{};
        window_class.lpfnWndProc = Procedure;
        window_class.hInstance = GetModuleHandleW(nullptr);
        window_class.lpszClassName = L"QuillfretTestRecorder";
        RegisterClassW(&window_class);
        return L"QuillfretTestRecorder";
    }();
    window_ = CreateWindowExW(0, class_name, L"", WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, nullptr, nullptr,
                              GetModuleHandleW(nullptr), this);
}

RecordingWindow::~RecordingWindow() { DestroyWindow(window_); }

LRESULT CALLBACK RecordingWindow::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && message >= self->first_ && message <= self->last_) {
        self->received_.push_back({message, wparam, lparam});
    }
    return DefWindowProcW(window, message, wparam, lparam);
}
