#pragma once
// Display output: the screen surface of the running game, its presentation in a window at
// 1x, 2x or 3x or full screen in a virtual display mode, and the window title.
//
// The window side is reached through DisplayOutput; the Qt main window implements it, headless
// runs use an in-memory one. Surfaces here live in ordinary memory and are never lost, so the
// restore steps of the frame are empty.
#include "video/colour_tables.h"
#include "video/screen_surface.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vortastr {

struct DisplayMode {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bitsPerPixel = 0;
};

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

// The window the display draws into.
class DisplayOutput {
public:
    virtual ~DisplayOutput() = default;
    // Display modes a full-screen run may choose from, in the order they are offered.
    virtual std::vector<DisplayMode> listModes() = 0;
    // A normal framed window whose client area is width x height.
    virtual void showWindowed(int clientWidth, int clientHeight) = 0;
    // A borderless window over the whole screen, showing a mode-sized buffer scaled to fit.
    virtual void showFullScreen(const DisplayMode& mode) = 0;
    // Client area in screen coordinates.
    virtual Rect clientRect() = 0;
    // Shows `source` of the surface stretched into `dest` (client-area position for windows,
    // mode coordinates in full screen).
    virtual void present(const ScreenSurface& surface, const Rect& dest, const Rect& source) = 0;
    virtual void setTitle(const std::string& title) = 0;
};

constexpr int kMaxDisplayModes = 50;
constexpr const char* kInitialWindowCaption = "Dorin's Vorta Strike Emulator!";
constexpr const char* kPausedStatus = "PAUSED";

struct DisplayState {
    DisplayOutput* window = nullptr;
    bool fullScreen = false;
    std::array<DisplayMode, kMaxDisplayModes> modes{};
    int modeCount = 0;
    int modeIndex = -1; // -1: full screen found no usable mode
    bool mode400x300 = false;
    PixelFormat desktopFormat = PixelFormat::Rgb565; // the windowed screen's format
    PixelLayout pixelFormat;                         // format of the screen surface
    bool paletted = false;
    Rect destRect;
    Rect sourceRect;
    bool suspended = false;    // window inactive: no restore, no presentation
    bool geometryBusy = false; // client rectangle being recomputed
    bool inDialog = false;
    ScreenSurface screen;    // what renderers draw into
    ScreenSurface presented; // what the window shows (the last presented screen)
    bool hasPresented = false;
    std::string title;
    int32_t* scaleSettingX = nullptr; // window scale settings the scale changes are stored into
    int32_t* scaleSettingY = nullptr;
};

// The display modes a full-screen run is offered, in this order. 400 x 300 x 16 comes after
// 512 x 384 x 16 and is still the one chosen.
std::vector<DisplayMode> virtualDisplayModes();

// The desktop palette an 8-bit screen starts from: the twenty static colours at both ends.
std::array<uint32_t, 256> systemPalette();

// First 400 x 300 x 16 mode wherever it is listed; else the first 512 x 384 x 16 or
// 640 x 400 x 16; else -1.
int chooseFullScreenMode(std::span<const DisplayMode> modes, bool* is400x300 = nullptr);

void displayInitFullScreen(DisplayState& display, DisplayOutput& window);
void displayInitWindowed(DisplayState& display, DisplayOutput& window);
// Sizes the window or enters full screen and creates the screen surface. Returns -1 when full
// screen has no usable mode, else 0.
int displayCreateSurfaces(DisplayState& display, int scaleX, int scaleY);
void displayClear(DisplayState& display);
void displayRestoreLost(DisplayState& display);
void displayPresent(DisplayState& display);
void displayUpdateClientRect(DisplayState& display);
void displaySetWindowScale(DisplayState& display, int scaleX, int scaleY);
void displaySetScreenSize(DisplayState& display, int width, int height, int scaleX, int scaleY);
void displayEnterDialog(DisplayState& display);
void displayLeaveDialog(DisplayState& display);
void displayFlipToGdi(DisplayState& display);
void displayReapplyPalette(DisplayState& display);
void displayShutdown(DisplayState& display);

// "%s - %s" with the game name and status, or the name alone; without a game name the window
// keeps the caption it was created with.
void setWindowTitle(DisplayState& display, const char* gameName, const char* status);

void paletteUpload(DisplayState& display, ColourTables& tables, const uint8_t* lookup, const RgbBank& rgb);
void paletteSetRgb(DisplayState& display, ColourTables& tables, int index, uint8_t red, uint8_t green, uint8_t blue);
void paletteSetFromByte(DisplayState& display, ColourTables& tables, GameId game, int index, uint8_t byte,
                        ColourByteDecoder decode);
void selectPaletteBank(ColourTables& tables, int bank);

} // namespace vortastr
