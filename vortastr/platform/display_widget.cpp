#include "platform/display_widget.h"

#include "shell/trackball_motion.h"

#include <QMouseEvent>
#include <QPainter>

namespace vortastr {

QImage imageOfSurface(const ScreenSurface& surface)
{
    if (surface.empty())
        return {};
    const bool indexed = surface.format() == PixelFormat::Indexed8;
    QImage wrapped(surface.pixels(), surface.width(), surface.height(), surface.pitch(),
                   indexed ? QImage::Format_Indexed8 : QImage::Format_RGB16);
    if (indexed) {
        QList<QRgb> colours(surface.palette().begin(), surface.palette().end());
        wrapped.setColorTable(colours);
    }
    return wrapped.copy();
}

DisplayWidget::DisplayWidget(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(1, 1);
    setMouseTracking(true);
}

void DisplayWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (mouseSeen_)
        addMouseMotion(at.x() - lastMouse_.x(), at.y() - lastMouse_.y());
    lastMouse_ = at;
    mouseSeen_ = true;
    QWidget::mouseMoveEvent(event);
}

void DisplayWidget::leaveEvent(QEvent* event)
{
    mouseSeen_ = false; // re-entering elsewhere is no motion
    QWidget::leaveEvent(event);
}

void DisplayWidget::show(const ScreenSurface& surface, const Rect& source)
{
    image_ = imageOfSurface(surface);
    source_ = QRect(source.left, source.top, source.width(), source.height());
    update();
}

void DisplayWidget::setKeepAspect(bool keep)
{
    keepAspect_ = keep;
    update();
}

QRect DisplayWidget::targetRect() const
{
    const QRect source = source_.isValid() ? source_ : image_.rect();
    if (!keepAspect_ || source.isEmpty())
        return rect();
    QSize fitted = source.size().scaled(size(), Qt::KeepAspectRatio);
    QRect target(QPoint(0, 0), fitted);
    target.moveCenter(rect().center());
    return target;
}

void DisplayWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect target = targetRect();
    if (image_.isNull() || target != rect())
        painter.fillRect(rect(), Qt::black);
    if (!image_.isNull())
        painter.drawImage(target, image_, source_.isValid() ? source_ : image_.rect());
}

} // namespace vortastr
