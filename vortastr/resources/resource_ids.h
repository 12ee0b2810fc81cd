#pragma once
// Numbers of the emulator's menu, accelerator, dialog and command resources.

namespace vortastr {

constexpr int kMenuResource = 102;
constexpr int kAcceleratorResource = 103;
constexpr int kAboutDialog = 106;
constexpr int kDipDialog = 114;

enum Command : int {
    CmdOk = 1,     // also the OK button of the dialogs
    CmdCancel = 2, // closing the window sends it too
    CmdExit = 40005,
    CmdScale1 = 40006,
    CmdScale2 = 40007,
    CmdScale3 = 40008,
    CmdEveryFrame = 40009,
    CmdEvery2ndFrame = 40010,
    CmdEvery3rdFrame = 40011,
    CmdEvery4thFrame = 40012,
    CmdNever = 40013,
    CmdReset = 40021,
    CmdPause = 40022,
    CmdAbout = 40023,
    CmdKeyboard = 40027,
    CmdJoystick = 40028,
    CmdPaletteCycling = 40079,
    CmdSound = 40086,
    CmdSetDipswitches = 40087,
    CmdFullScreen = 40113,
    CmdRomAudit = 40200, // "ROM Audit..." in the File menu
};

// Static texts of the About dialog.
constexpr int kAboutVersionText = 1001;
constexpr int kAboutProductText = 1002;

// Controls of the dip-switch dialog.
constexpr int kDipGameNameText = 1021;
constexpr int kDipDefaultButton = 1022;
// Label and list identifiers of the sixteen setting slots, in setting order: left column top
// to bottom, then the right column.
struct DipSlotIds {
    int label;
    int list;
};
constexpr DipSlotIds kDipSlotIds[16] = {
    {1008, 1007}, {1010, 1009}, {1012, 1011}, {1014, 1013}, {1016, 1015}, {1018, 1017}, {1020, 1019}, {1024, 1023},
    {1026, 1025}, {1028, 1027}, {1030, 1029}, {1032, 1031}, {1034, 1033}, {1036, 1035}, {1038, 1037}, {1040, 1039},
};

} // namespace vortastr
