#pragma once
// The joysticks of the machine through SDL2: positions scaled to 0..65535 on both axes,
// buttons as bits (button 1 = bit 0).
#include "shell/input.h"

#include <vector>

struct _SDL_Joystick;

namespace vortastr {

class SdlJoystickSource : public JoystickSource {
public:
    SdlJoystickSource();
    ~SdlJoystickSource() override;
    SdlJoystickSource(const SdlJoystickSource&) = delete;
    SdlJoystickSource& operator=(const SdlJoystickSource&) = delete;

    bool available() const { return initialised_; }
    int deviceCount() override;
    bool read(int id, JoystickReading& reading) override;
    JoystickCaps caps(int id) override;

private:
    _SDL_Joystick* open(int id);

    bool initialised_ = false;
    std::vector<_SDL_Joystick*> opened_;
};

} // namespace vortastr
