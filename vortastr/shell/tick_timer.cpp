#include "shell/tick_timer.h"

namespace vortastr {

void TickTimer::start()
{
    if (thread_.joinable())
        return;
    stopping_ = false;
    thread_ = std::thread([this] {
        auto due = std::chrono::steady_clock::now() + period_;
        std::unique_lock lock(mutex_);
        while (!wake_.wait_until(lock, due, [this] { return stopping_; })) {
            if (counting_)
                ++ticks_;
            due += period_;
        }
    });
}

void TickTimer::stop()
{
    if (!thread_.joinable())
        return;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

} // namespace vortastr
