#include "resources/app_icon.h"

namespace vortastr {
namespace {

const char* const kIcon[] = {
    "16 16 5 1",        ". c #000030",      "* c #FFFFFF",      "c c #30D0FF",      "r c #FF4020",
    "y c #FFE040",      "................", "..*.........*...", ".......cc.......", "......cccc...*..",
    "......cccc......", ".....cc**cc.....", "*....cc**cc.....", ".....cccccc.....", "....cccccccc..*.",
    "...cccrccrccc...", "..ccccrccrcccc..", "..cc..cccc..cc..", ".......yy.......", ".*.....yy....*..",
    "........y.......", "................",
};

} // namespace

const char* const* appIconXpm() { return kIcon; }

} // namespace vortastr
