#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A hidden top-level window that records the messages it receives in the
// range [first, last]; destroyed with the object.
class RecordingWindow {
public:
    struct Received {
        UINT message;
        WPARAM wparam;
        LPARAM lparam;
    };

    RecordingWindow(UINT first, UINT last);
    ~RecordingWindow();
    RecordingWindow(const RecordingWindow&) = delete;
    RecordingWindow& operator=(const RecordingWindow&) = delete;

    HWND handle() const { return window_; }
    const std::vector<Received>& received() const { return received_; }
    void Clear() { received_.clear(); }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    HWND window_ = nullptr;
    UINT first_;
    UINT last_;
    std::vector<Received> received_;
};
