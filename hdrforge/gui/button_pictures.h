// The 20 x 20 pictures on the editor's buttons, drawn at run time.
#pragma once

#include <QIcon>
#include <QPixmap>

enum class ButtonPicture { New, Open, Save, Patch, List, About };

QIcon buttonPicture(ButtonPicture which);

// The picture on the About form: a cartridge.
QPixmap cartridgePicture(int size);
