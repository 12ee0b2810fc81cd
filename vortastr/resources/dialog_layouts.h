#pragma once
// Layouts of the About dialog (106) and the dip-switch dialog (114) in dialog units: one
// horizontal unit is a quarter of the font's average character width, one vertical unit an
// eighth of its height.
#include <string>
#include <vector>

namespace vortastr {

struct DialogControl {
    enum class Kind { Static, CentredStatic, GroupBox, DropDownList, PushButton, DefaultPushButton };
    Kind kind;
    int id; // -1 for controls the program never addresses
    std::string text;
    int x, y, width, height;
};

struct DialogLayout {
    int id;
    std::string caption;
    std::string fontFamily;
    int fontPoints;
    int width, height;
    std::vector<DialogControl> controls;
};

const DialogLayout& aboutDialogLayout();
const DialogLayout& dipDialogLayout();
const DialogControl* findControl(const DialogLayout& layout, int id);

} // namespace vortastr
