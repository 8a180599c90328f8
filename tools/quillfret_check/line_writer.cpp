#include "line_writer.h"

#include <utility>

LineWriter::LineWriter(std::ostream& out) : out_(out), thread_([this] { WriteQueued(); }) {}

LineWriter::~LineWriter() {
    {
        std::lock_guard lock(mutex_);
        finishing_ = true;
    }
    queued_.notify_one();
    if (thread_.joinable()) thread_.join();
}

void LineWriter::Write(std::string text) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(text));
    }
    queued_.notify_one();
}

bool LineWriter::Finish(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    finishing_ = true;
    queued_.notify_one();
    if (!finished_.wait_for(lock, timeout, [this] { return written_; })) return false;
    lock.unlock();
    thread_.join();
    return true;
}

// Takes out everything queued at once and writes it with the queue free.
void LineWriter::WriteQueued() {
    std::unique_lock lock(mutex_);
    for (;;) {
        queued_.wait(lock, [this] { return !queue_.empty() || finishing_; });
        if (queue_.empty()) break;
        std::deque<std::string> taken = std::exchange(queue_, {});
        lock.unlock();
        for (const std::string& text : taken) out_ << text;
        out_.flush();
        lock.lock();
    }
    written_ = true;
    finished_.notify_all();
}
