#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>

// Text written to a stream by a thread of its own, so that whoever hands it
// over never waits for the stream. A console in Select mode (a click into
// it with QuickEdit on) or a pipe into a paused pager blocks a write for as
// long as it stays so; the key watch hands its lines over on the thread of
// its low-level hooks, which must never wait that long.
class LineWriter {
public:
    explicit LineWriter(std::ostream& out);
    // Joins the thread: after a Finish that failed, only once the stream
    // takes text again (the key watch ends the process instead).
    ~LineWriter();
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;

    // Queues `text` for the stream and returns at once: it waits only for
    // the queue, which the writing thread holds just to take the text out.
    void Write(std::string text);

    // Waits up to `timeout` for everything queued to be written and the
    // stream flushed; true when it was and the thread has ended. False while
    // the stream still blocks: the thread goes on waiting for it.
    bool Finish(std::chrono::milliseconds timeout);

private:
    void WriteQueued();

    std::ostream& out_;
    std::mutex mutex_;
    std::condition_variable queued_;    // text queued, or finishing
    std::condition_variable finished_;  // everything written
    std::deque<std::string> queue_;
    bool finishing_ = false;
    bool written_ = false;
    std::thread thread_;  // last: it starts once the members it uses exist
};
