#pragma once
// The display's window when there is none: sizes and the title are remembered, presented
// pictures stay in the display state (for --snapshot).
#include "video/display_state.h"

namespace vortastr {

class HeadlessOutput : public DisplayOutput {
public:
    std::vector<DisplayMode> listModes() override { return virtualDisplayModes(); }
    void showWindowed(int clientWidth, int clientHeight) override { client_ = {0, 0, clientWidth, clientHeight}; }
    void showFullScreen(const DisplayMode& mode) override { client_ = {0, 0, mode.width, mode.height}; }
    Rect clientRect() override { return client_; }
    void present(const ScreenSurface&, const Rect&, const Rect&) override { ++presentCount_; }
    void setTitle(const std::string& title) override { title_ = title; }

    const std::string& title() const { return title_; }
    int presentCount() const { return presentCount_; }

private:
    Rect client_;
    std::string title_;
    int presentCount_ = 0;
};

} // namespace vortastr
