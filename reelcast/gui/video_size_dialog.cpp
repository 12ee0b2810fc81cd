#include "gui/video_size_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

namespace reelcast {

uint32_t VideoSizeChoice::width(uint32_t movieWidth) const {
    static constexpr uint32_t kWidths[4] = {0, 160, 320, 640};
    return widthChoice > 0 && widthChoice < 4 ? kWidths[widthChoice] : movieWidth;
}

uint32_t VideoSizeChoice::height(uint32_t movieHeight) const {
    static constexpr uint32_t kHeights[4] = {0, 120, 240, 480};
    return heightChoice > 0 && heightChoice < 4 ? kHeights[heightChoice] : movieHeight;
}

namespace {

QButtonGroup* radioGroup(QWidget* owner, QBoxLayout* into, const QString& title, const QStringList& labels) {
    auto* box = new QGroupBox(title, owner);
    auto* layout = new QVBoxLayout(box);
    auto* group = new QButtonGroup(owner);
    for (int i = 0; i < labels.size(); ++i) {
        auto* b = new QRadioButton(labels[i], box);
        group->addButton(b, i);
        layout->addWidget(b);
    }
    group->button(0)->setChecked(true);
    into->addWidget(box);
    return group;
}

}  // namespace

VideoSizeDialog::VideoSizeDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Change Video Size");
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    width_ = radioGroup(this, row, "Width", {"Unchanged", "160", "320", "640"});
    height_ = radioGroup(this, row, "Height", {"Unchanged", "120", "240", "480"});
    layout->addLayout(row);
    auto* methodRow = new QHBoxLayout;
    method_ = radioGroup(this, methodRow, "Sampling", {"Method 1 (nearest)", "Method 2 (interpolated)"});
    layout->addLayout(methodRow);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

VideoSizeChoice VideoSizeDialog::choice() const {
    return {width_->checkedId(), height_->checkedId(), method_->checkedId() + 1};
}

}  // namespace reelcast
