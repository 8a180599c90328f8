// The key watch's output: written by a thread of its own, so that a
// console that blocks never holds whoever hands the text over.
#include "line_writer.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <streambuf>
#include <string>

namespace {

using namespace std::chrono_literals;

// Takes text only while open, as a console takes none in Select mode.
class GateBuffer : public std::streambuf {
public:
    void Open() {
        {
            std::lock_guard lock(mutex_);
            open_ = true;
        }
        opened_.notify_all();
    }

    std::string Text() {
        std::lock_guard lock(mutex_);
        return text_;
    }

protected:
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        std::unique_lock lock(mutex_);
        opened_.wait(lock, [this] { return open_; });
        text_.append(text, static_cast<size_t>(count));
        return count;
    }

    int_type overflow(int_type character) override {
        const char one = traits_type::to_char_type(character);
        xsputn(&one, 1);
        return character;
    }

private:
    std::mutex mutex_;
    std::condition_variable opened_;
    bool open_ = false;
    std::string text_;
};

TEST(LineWriterTest, WritesEverythingInOrderBeforeItFinishes) {
    GateBuffer buffer;
    buffer.Open();
    std::ostream out(&buffer);
    LineWriter writer(out);
    writer.Write("press   A (65)\n");
    writer.Write("release A (65)\n");
    EXPECT_TRUE(writer.Finish(10s));
    EXPECT_EQ(buffer.Text(), "press   A (65)\nrelease A (65)\n");
}

// Handing text over returns while the stream blocks, and finishing says
// that it could not; once the stream takes text again, all of it arrives.
TEST(LineWriterTest, NeverWaitsForAStreamThatBlocks) {
    GateBuffer buffer;
    std::ostream out(&buffer);
    {
        LineWriter writer(out);
        writer.Write("press   A (65)\n");
        writer.Write("release A (65)\n");
        writer.Write("press   Esc (27)\n");
        EXPECT_FALSE(writer.Finish(0ms));
        buffer.Open();
    }
    EXPECT_EQ(buffer.Text(), "press   A (65)\nrelease A (65)\npress   Esc (27)\n");
}

}  // namespace
