#include "platform/sdl_joystick.h"

#include <SDL.h>

namespace vortastr {
namespace {

int32_t scaleAxis(Sint16 value) { return int32_t(value) + 32768; }

} // namespace

SdlJoystickSource::SdlJoystickSource() { initialised_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0; }

SdlJoystickSource::~SdlJoystickSource()
{
    for (SDL_Joystick* joystick : opened_)
        if (joystick)
            SDL_JoystickClose(joystick);
    if (initialised_)
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

int SdlJoystickSource::deviceCount() { return initialised_ ? SDL_NumJoysticks() : 0; }

SDL_Joystick* SdlJoystickSource::open(int id)
{
    if (!initialised_ || id < 0 || id >= SDL_NumJoysticks())
        return nullptr;
    if (std::size_t(id) >= opened_.size())
        opened_.resize(std::size_t(id) + 1, nullptr);
    SDL_Joystick*& joystick = opened_[std::size_t(id)];
    if (!joystick)
        joystick = SDL_JoystickOpen(id);
    return joystick;
}

bool SdlJoystickSource::read(int id, JoystickReading& reading)
{
    SDL_Joystick* joystick = open(id);
    if (!joystick || !SDL_JoystickGetAttached(joystick))
        return false;
    SDL_JoystickUpdate();
    reading.x = SDL_JoystickNumAxes(joystick) > 0 ? scaleAxis(SDL_JoystickGetAxis(joystick, 0)) : 32768;
    reading.y = SDL_JoystickNumAxes(joystick) > 1 ? scaleAxis(SDL_JoystickGetAxis(joystick, 1)) : 32768;
    reading.buttons = 0;
    const int buttons = std::min(SDL_JoystickNumButtons(joystick), 32);
    for (int b = 0; b < buttons; ++b)
        if (SDL_JoystickGetButton(joystick, b))
            reading.buttons |= 1u << b;
    // A hat counts as the stick.
    if (SDL_JoystickNumHats(joystick) > 0) {
        const Uint8 hat = SDL_JoystickGetHat(joystick, 0);
        if (hat & SDL_HAT_LEFT)
            reading.x = 0;
        if (hat & SDL_HAT_RIGHT)
            reading.x = 65535;
        if (hat & SDL_HAT_UP)
            reading.y = 0;
        if (hat & SDL_HAT_DOWN)
            reading.y = 65535;
    }
    return true;
}

JoystickCaps SdlJoystickSource::caps(int) { return {0, 65535, 0, 65535}; }

} // namespace vortastr
