#pragma once
// What the Irem test program's picture must be, computed pixel by pixel from the ROM files of
// the generated set and the program's documented pattern, independently of the renderer.
#include "testrom/rom_packing.h"
#include "video/screen_surface.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vortastr::test {

// The program's state after a run, read from its work RAM (and, for RType II, the scroll it
// gave the upper band).
struct IremProgramState {
    bool rtype2 = false;
    int frame = 0;    // the program's frame counter
    int spriteW0 = 0; // the moving sprite's y word
    int spriteW3 = 0; // and its x word
};
IremProgramState readIremProgramState(const uint8_t* memory, bool rtype2);

// The 512 x 256 picture as 16-bit 5-6-5 pixels; outside the window x 64 to 440 nothing is
// drawn (0).
std::vector<uint16_t> expectedIremPicture(const testrom::RomFiles& set, const IremProgramState& state);

// Pixels of a 512 x 256 16-bit screen that differ from the expected picture; the first few are
// described in `report`.
int countWrongPixels(const ScreenSurface& screen, const std::vector<uint16_t>& expected, std::string& report);

// An assembled test program of the build (IREM_PROGRAM_DIR); empty when it cannot be read.
testrom::Bytes assembledIremProgram(const char* name);

// The 5-6-5 pixel of a program colour: bank 0 (tiles) or 1 (sprites), colour 16 g + p.
uint16_t programColour(int bank, int colour);

} // namespace vortastr::test
