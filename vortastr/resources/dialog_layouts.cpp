#include "resources/dialog_layouts.h"

#include "resources/resource_ids.h"

namespace vortastr {
namespace {

using Kind = DialogControl::Kind;

DialogLayout buildAbout()
{
    return {kAboutDialog,
            "About Vorta Strike Emulator",
            "MS Sans Serif",
            8,
            279,
            213,
            {
                {Kind::CentredStatic, kAboutProductText, "", 10, 70, 259, 12},
                {Kind::CentredStatic, kAboutVersionText, "", 10, 90, 259, 12},
                {Kind::CentredStatic, -1, "Arcade boards emulated on the 6809, Z80, V30 and 6502", 10, 120, 259, 10},
                {Kind::DefaultPushButton, CmdOk, "OK", 114, 188, 50, 14},
            }};
}

// Two columns of eight group boxes, each holding a label and a drop-down list, under a centred
// game name; OK, Default and Cancel along the bottom.
DialogLayout buildDip()
{
    DialogLayout layout{kDipDialog, "Dipswitch Settings", "MS Sans Serif", 8, 405, 223, {}};
    layout.controls.push_back({Kind::CentredStatic, kDipGameNameText, "GameName", 7, 4, 391, 10});
    for (int slot = 0; slot < 16; ++slot) {
        const int column = slot / 8, rowIndex = slot % 8;
        const int x = 7 + column * 198, y = 16 + rowIndex * 23;
        layout.controls.push_back({Kind::GroupBox, -1, "", x, y, 193, 22});
        layout.controls.push_back({Kind::Static, kDipSlotIds[slot].label, "XXXXX", x + 5, y + 9, 90, 9});
        layout.controls.push_back({Kind::DropDownList, kDipSlotIds[slot].list, "", x + 98, y + 7, 90, 100});
    }
    layout.controls.push_back({Kind::DefaultPushButton, CmdOk, "OK", 90, 203, 50, 14});
    layout.controls.push_back({Kind::PushButton, kDipDefaultButton, "Default", 177, 203, 50, 14});
    layout.controls.push_back({Kind::PushButton, CmdCancel, "Cancel", 264, 203, 50, 14});
    return layout;
}

} // namespace

const DialogLayout& aboutDialogLayout()
{
    static const DialogLayout layout = buildAbout();
    return layout;
}

const DialogLayout& dipDialogLayout()
{
    static const DialogLayout layout = buildDip();
    return layout;
}

const DialogControl* findControl(const DialogLayout& layout, int id)
{
    for (const DialogControl& control : layout.controls)
        if (control.id == id)
            return &control;
    return nullptr;
}

} // namespace vortastr
