#pragma once
// A titled box of radio buttons, one exclusive group, ids 0, 1, ... in the order of the labels.

#include <QButtonGroup>
#include <QStringList>

class QWidget;

namespace reelcast {

// The box is the buttons' parent (group->button(0)->parentWidget()); the owner lays it out.
QButtonGroup* makeRadioGroup(QWidget* owner, const QString& title, const QStringList& labels, int checked);

} // namespace reelcast
