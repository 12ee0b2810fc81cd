#pragma once
// Shows the presented screen surface stretched into the widget.
#include "video/display_state.h"

#include <QImage>
#include <QWidget>

namespace vortastr {

// The surface as a Qt image (a copy, palette included for 8-bit surfaces).
QImage imageOfSurface(const ScreenSurface& surface);

class DisplayWidget : public QWidget {
    Q_OBJECT
public:
    explicit DisplayWidget(QWidget* parent = nullptr);
    void show(const ScreenSurface& surface, const Rect& source);
    const QImage& image() const { return image_; }
    // Full screen keeps the mode's shape, with black bars where the screen's shape differs;
    // a window stretches the picture over its whole client area.
    void setKeepAspect(bool keep);
    QRect targetRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    // Mouse motion over the picture drives trackball boards.
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QImage image_;
    QRect source_;
    bool keepAspect_ = false;
    QPoint lastMouse_;
    bool mouseSeen_ = false;
};

} // namespace vortastr
