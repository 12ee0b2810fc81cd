#pragma once
// "Change Video Size": width and height choices and the sampling method, reset at every opening.

#include <QDialog>

class QButtonGroup;

namespace reelcast {

struct VideoSizeChoice {
    int widthChoice = 0;  // 0 unchanged, 1 160, 2 320, 3 640
    int heightChoice = 0; // 0 unchanged, 1 120, 2 240, 3 480
    int method = 1;       // 1 nearest, 2 interpolated
    uint32_t width(uint32_t movieWidth) const;
    uint32_t height(uint32_t movieHeight) const;
};

class VideoSizeDialog : public QDialog {
    Q_OBJECT
public:
    explicit VideoSizeDialog(QWidget* parent = nullptr);
    VideoSizeChoice choice() const;
    QButtonGroup* widthGroup() const { return width_; }
    QButtonGroup* heightGroup() const { return height_; }
    QButtonGroup* methodGroup() const { return method_; }

private:
    QButtonGroup *width_, *height_, *method_;
};

} // namespace reelcast
