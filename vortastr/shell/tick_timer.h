#pragma once
// A periodic tick counter: a thread that counts 16 ms ticks while counting is on. Nothing else
// is shared with it.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace vortastr {

class TickTimer {
public:
    explicit TickTimer(std::chrono::milliseconds period = std::chrono::milliseconds(16)) : period_(period) {}
    ~TickTimer() { stop(); }
    TickTimer(const TickTimer&) = delete;
    TickTimer& operator=(const TickTimer&) = delete;

    void start();
    void stop();
    bool running() const { return thread_.joinable(); }

    void setCounting(bool on) { counting_ = on; }
    uint32_t ticks() const { return ticks_; }
    void resetTicks() { ticks_ = 0; }

private:
    std::chrono::milliseconds period_;
    std::atomic<bool> counting_{false};
    std::atomic<uint32_t> ticks_{0};
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace vortastr
