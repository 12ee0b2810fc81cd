#pragma once
// The registers of an Irem V30 board that live outside the address space. Part of the running
// Board (see family_states.h); reset with it at every set-up.
#include "boards/state_bytes.h"

#include <array>
#include <cstdint>

namespace vortastr {

struct IremV30State {
    std::array<uint16_t, 256> ports{};     // last byte written to each I/O port
    std::array<uint16_t, 2> scrollWords{}; // ports 0x81:0x80 and 0x83:0x82, latched at slice 0
};

namespace irem {
// The record's part of a saved state; readState is false for bytes that are not one whole record.
inline void writeState(const IremV30State& state, StateWriter& writer)
{
    for (uint16_t v : state.ports)
        writer << v;
    for (uint16_t v : state.scrollWords)
        writer << v;
}
inline bool readState(IremV30State& state, StateReader& reader)
{
    IremV30State read;
    for (uint16_t& v : read.ports)
        reader >> v;
    for (uint16_t& v : read.scrollWords)
        reader >> v;
    if (!reader.ok() || !reader.atEnd())
        return false;
    state = read;
    return true;
}
} // namespace irem

} // namespace vortastr
