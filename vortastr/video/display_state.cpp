#include "video/display_state.h"

#include <algorithm>

namespace vortastr {
namespace {

constexpr DisplayMode kWindowedMode{256, 256, 16};
constexpr int kMinScale = 1;
constexpr int kMaxScale = 3;

// Scales come from the settings file; anything outside the menu's range would give an empty
// or oversized window, so it is brought into range for sizing.
int usableScale(int scale) { return std::clamp(scale, kMinScale, kMaxScale); }

void enumerateModes(DisplayState& display, DisplayOutput& window)
{
    display.window = &window;
    display.modeCount = 0;
    for (const DisplayMode& mode : window.listModes()) {
        if (display.modeCount == kMaxDisplayModes)
            break;
        display.modes[static_cast<std::size_t>(display.modeCount++)] = mode;
    }
}

DisplayMode& selectedMode(DisplayState& display)
{
    return display.modes[static_cast<std::size_t>(std::max(display.modeIndex, 0))];
}

PixelFormat formatOfMode(const DisplayState& display, const DisplayMode& mode)
{
    if (display.fullScreen)
        return mode.bitsPerPixel == 8 ? PixelFormat::Indexed8 : PixelFormat::Rgb565;
    return display.desktopFormat;
}

void createScreen(DisplayState& display, int width, int height)
{
    const DisplayMode& mode = selectedMode(display);
    display.screen = ScreenSurface(width, height, formatOfMode(display, mode));
    display.pixelFormat = pixelLayoutOf(display.screen.format());
    display.paletted = display.pixelFormat.paletteIndexed;
    if (display.paletted)
        display.screen.palette() = systemPalette();
    display.presented = display.screen;
    display.hasPresented = false;
    display.sourceRect = {0, 0, width, height};
}

void resizeWindow(DisplayState& display, int scaleX, int scaleY)
{
    const DisplayMode& mode = selectedMode(display);
    if (display.window)
        display.window->showWindowed(usableScale(scaleX) * mode.width, usableScale(scaleY) * mode.height);
}

void storeScales(DisplayState& display, int scaleX, int scaleY)
{
    if (display.scaleSettingX)
        *display.scaleSettingX = scaleX;
    if (display.scaleSettingY)
        *display.scaleSettingY = scaleY;
}

void setPaletteEntry(DisplayState& display, int entry, const RgbEntry& colour)
{
    if (entry < 0 || entry > 255)
        return;
    const uint32_t argb = 0xFF000000u | (uint32_t(colour.red) << 16) | (uint32_t(colour.green) << 8) | colour.blue;
    display.screen.palette()[static_cast<std::size_t>(entry)] = argb;
    display.presented.palette()[static_cast<std::size_t>(entry)] = argb;
}

} // namespace

std::vector<DisplayMode> virtualDisplayModes()
{
    return {{640, 480, 16}, {800, 600, 16},  {512, 384, 16}, {400, 300, 16},
            {640, 400, 16}, {1024, 768, 16}, {640, 480, 8},  {320, 240, 16}};
}

std::array<uint32_t, 256> systemPalette()
{
    std::array<uint32_t, 256> palette;
    palette.fill(0xFF000000u);
    constexpr uint32_t low[10] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080,
                                  0x800080, 0x008080, 0xC0C0C0, 0xC0DCC0, 0xA6CAF0};
    constexpr uint32_t high[10] = {0xFFFBF0, 0xA0A0A4, 0x808080, 0xFF0000, 0x00FF00,
                                   0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    for (int i = 0; i < 10; ++i) {
        palette[static_cast<std::size_t>(i)] = 0xFF000000u | low[i];
        palette[static_cast<std::size_t>(246 + i)] = 0xFF000000u | high[i];
    }
    return palette;
}

int chooseFullScreenMode(std::span<const DisplayMode> modes, bool* is400x300)
{
    if (is400x300)
        *is400x300 = false;
    int fallback = -1;
    for (std::size_t i = 0; i < modes.size(); ++i) {
        const DisplayMode& m = modes[i];
        if (m.bitsPerPixel != 16)
            continue;
        if (m.width == 400 && m.height == 300) {
            if (is400x300)
                *is400x300 = true;
            return static_cast<int>(i);
        }
        if (fallback < 0 && ((m.width == 512 && m.height == 384) || (m.width == 640 && m.height == 400)))
            fallback = static_cast<int>(i);
    }
    return fallback;
}

void displayInitFullScreen(DisplayState& display, DisplayOutput& window)
{
    display.fullScreen = true;
    enumerateModes(display, window);
    display.modeIndex = chooseFullScreenMode(
        std::span(display.modes.data(), static_cast<std::size_t>(display.modeCount)), &display.mode400x300);
}

void displayInitWindowed(DisplayState& display, DisplayOutput& window)
{
    display.fullScreen = false;
    enumerateModes(display, window); // kept for information only
    display.modeIndex = 0;
    display.modeCount = std::max(display.modeCount, 1);
    display.modes[0] = kWindowedMode;
    display.mode400x300 = false;
}

int displayCreateSurfaces(DisplayState& display, int scaleX, int scaleY)
{
    if (display.modeIndex < 0)
        return -1;
    const DisplayMode mode = selectedMode(display);
    if (display.fullScreen) {
        if (display.window)
            display.window->showFullScreen(mode);
        display.destRect = {0, 0, mode.width, mode.height};
    } else {
        resizeWindow(display, scaleX, scaleY);
        displayUpdateClientRect(display);
    }
    createScreen(display, mode.width, mode.height);
    displayClear(display);
    return 0;
}

void displayClear(DisplayState& display)
{
    display.screen.fill(0);
    display.presented.fill(0);
    if (display.window && !display.presented.empty())
        display.window->present(display.presented, display.destRect, display.sourceRect);
}

// Nothing can be lost: surfaces are plain memory.
void displayRestoreLost(DisplayState&) {}

void displayPresent(DisplayState& display)
{
    if (display.suspended || display.geometryBusy || display.screen.empty())
        return;
    display.presented = display.screen;
    display.hasPresented = true;
    if (display.window)
        display.window->present(display.presented, display.destRect, display.sourceRect);
}

void displayUpdateClientRect(DisplayState& display)
{
    if (display.fullScreen || !display.window)
        return;
    display.geometryBusy = true;
    display.destRect = display.window->clientRect();
    display.geometryBusy = false;
}

void displaySetWindowScale(DisplayState& display, int scaleX, int scaleY)
{
    if (display.fullScreen)
        return;
    resizeWindow(display, scaleX, scaleY);
    const DisplayMode& mode = selectedMode(display);
    display.sourceRect = {0, 0, mode.width, mode.height};
    displayUpdateClientRect(display);
    storeScales(display, scaleX, scaleY);
}

void displaySetScreenSize(DisplayState& display, int width, int height, int scaleX, int scaleY)
{
    if (display.fullScreen || width <= 0 || height <= 0)
        return;
    DisplayMode& mode = selectedMode(display);
    mode.width = width;
    mode.height = height;
    createScreen(display, width, height);
    resizeWindow(display, scaleX, scaleY);
    displayUpdateClientRect(display);
    storeScales(display, scaleX, scaleY);
}

// A dialog opens above the full-screen window without a mode change, so entering needs nothing;
// leaving clears the picture the dialog covered.
void displayEnterDialog(DisplayState& display) { display.inDialog = display.fullScreen; }

void displayLeaveDialog(DisplayState& display)
{
    if (!display.inDialog)
        return;
    display.inDialog = false;
    displayClear(display);
}

// Menus and dialogs draw above our window by themselves; there is no separate surface to flip to.
void displayFlipToGdi(DisplayState&) {}

// The palette belongs to the surface and stays attached while the window is inactive.
void displayReapplyPalette(DisplayState&) {}

void displayShutdown(DisplayState& display)
{
    display.window = nullptr;
    display.screen = ScreenSurface();
    display.fullScreen = false;
}

void setWindowTitle(DisplayState& display, const char* gameName, const char* status)
{
    const std::string name = gameName ? gameName : kInitialWindowCaption;
    display.title = status ? name + " - " + status : name;
    if (display.window)
        display.window->setTitle(display.title);
}

void paletteUpload(DisplayState& display, ColourTables& tables, const uint8_t* lookup, const RgbBank& rgb)
{
    tables.colourLookup = lookup;
    RgbBank& bank = tables.rgb[static_cast<std::size_t>(tables.bank & 1)];
    if (&bank != &rgb)
        bank = rgb;
    if (display.paletted) {
        for (RgbEntry& entry : bank)
            entry.flags = kReservedEntryFlag;
        uploadGameEntries(tables, display.screen.palette());
        uploadGameEntries(tables, display.presented.palette());
        setPaletteIndexMapping(tables);
        return;
    }
    setIdentityIndexMapping(tables);
    rebuildColour16(tables, tables.bank, display.pixelFormat);
}

void paletteSetRgb(DisplayState& display, ColourTables& tables, int index, uint8_t red, uint8_t green, uint8_t blue)
{
    if (index < 0 || index > 255)
        return;
    const auto i = static_cast<std::size_t>(index);
    const auto b = static_cast<std::size_t>(tables.bank & 1);
    tables.rgb[b][i] = {red, green, blue, tables.rgb[b][i].flags};
    if (display.paletted)
        tables.index8[i] = static_cast<uint8_t>(index);
    else
        tables.colour16[b][i] = colour16Of(red, green, blue, display.pixelFormat);
}

void paletteSetFromByte(DisplayState& display, ColourTables& tables, GameId game, int index, uint8_t byte,
                        ColourByteDecoder decode)
{
    if (index < 0 || index > 255 || !decode)
        return;
    const auto i = static_cast<std::size_t>(index);
    const auto b = static_cast<std::size_t>(tables.bank & 1);
    RgbEntry colour = decode(game, byte);
    colour.flags = tables.rgb[b][i].flags;
    tables.rgb[b][i] = colour;
    if (display.paletted) {
        // Only entries that land inside the hardware palette can be shown.
        if (index + kFirstGameEntry <= 255) {
            setPaletteEntry(display, index + kFirstGameEntry, colour);
            tables.index8[i] = static_cast<uint8_t>(index + kFirstGameEntry);
        }
        return;
    }
    tables.colour16[b][i] = colour16Of(colour.red, colour.green, colour.blue, display.pixelFormat);
}

void selectPaletteBank(ColourTables& tables, int bank) { tables.bank = bank & 1; }

} // namespace vortastr
