#include "gui/video_size_dialog.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "gui/radio_group.h"

namespace reelcast {

uint32_t VideoSizeChoice::width(uint32_t movieWidth) const
{
    static constexpr uint32_t kWidths[4] = {0, 160, 320, 640};
    return widthChoice > 0 && widthChoice < 4 ? kWidths[widthChoice] : movieWidth;
}

uint32_t VideoSizeChoice::height(uint32_t movieHeight) const
{
    static constexpr uint32_t kHeights[4] = {0, 120, 240, 480};
    return heightChoice > 0 && heightChoice < 4 ? kHeights[heightChoice] : movieHeight;
}

VideoSizeDialog::VideoSizeDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Change Video Size");
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    width_ = makeRadioGroup(this, "Width", {"Unchanged", "160", "320", "640"}, 0);
    height_ = makeRadioGroup(this, "Height", {"Unchanged", "120", "240", "480"}, 0);
    row->addWidget(width_->button(0)->parentWidget());
    row->addWidget(height_->button(0)->parentWidget());
    layout->addLayout(row);
    method_ = makeRadioGroup(this, "Sampling", {"Method 1 (nearest)", "Method 2 (interpolated)"}, 0);
    layout->addWidget(method_->button(0)->parentWidget());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

VideoSizeChoice VideoSizeDialog::choice() const
{
    return {width_->checkedId(), height_->checkedId(), method_->checkedId() + 1};
}

} // namespace reelcast
