#pragma once
// The registers of an Irem V30 board that live outside the address space. Part of the running
// Board (see family_states.h); reset with it at every set-up.
#include <array>
#include <cstdint>

namespace vortastr {

struct IremV30State {
    std::array<uint16_t, 256> ports{};     // last byte written to each I/O port
    std::array<uint16_t, 2> scrollWords{}; // ports 0x81:0x80 and 0x83:0x82, latched at slice 0
};

} // namespace vortastr
