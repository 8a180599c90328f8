#pragma once

#include <atomic>
#include <string>
#include <thread>

// Rewrites a file with its own content every 50 ms on a thread of its own,
// as an editor saving again and again: each write wakes a folder watch and
// gives the file a new last-write time, so a program that reloads it reads
// it again every time.
class ReloadStorm {
public:
    explicit ReloadStorm(std::wstring path);
    ReloadStorm(const ReloadStorm&) = delete;
    ReloadStorm& operator=(const ReloadStorm&) = delete;
    ~ReloadStorm();  // stops the rewriting

    // Rewrites done so far, and whether the file could be read at the start
    // (an empty or missing file is not rewritten).
    int rewrites() const { return rewrites_.load(); }
    bool read_ok() const { return !content_.empty(); }

private:
    void Run();

    std::wstring path_;
    std::string content_;
    std::atomic<bool> stop_{false};
    std::atomic<int> rewrites_{0};
    std::thread thread_;
};
