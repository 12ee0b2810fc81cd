#include "gui/radio_group.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace reelcast {

QButtonGroup* makeRadioGroup(QWidget* owner, const QString& title, const QStringList& labels, int checked)
{
    auto* box = new QGroupBox(title, owner);
    box->setObjectName(title);
    auto* layout = new QVBoxLayout(box);
    auto* group = new QButtonGroup(owner);
    for (int i = 0; i < labels.size(); ++i) {
        auto* b = new QRadioButton(labels[i], box);
        group->addButton(b, i);
        layout->addWidget(b);
    }
    if (auto* b = group->button(checked))
        b->setChecked(true);
    return group;
}

} // namespace reelcast
