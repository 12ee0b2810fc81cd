#include "button_pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kSide = 20;

void drawPage(QPainter& p)
{
    QPolygon page({QPoint(4, 1), QPoint(12, 1), QPoint(16, 5), QPoint(16, 18), QPoint(4, 18)});
    p.setBrush(Qt::white);
    p.drawPolygon(page);
    p.drawPolyline(QPolygon({QPoint(12, 1), QPoint(12, 5), QPoint(16, 5)}));
}

void drawFolder(QPainter& p)
{
    p.setBrush(QColor(240, 200, 80));
    p.drawPolygon(QPolygon({QPoint(1, 4), QPoint(7, 4), QPoint(9, 6), QPoint(18, 6), QPoint(18, 17), QPoint(1, 17)}));
    p.setBrush(QColor(250, 220, 120));
    p.drawPolygon(QPolygon({QPoint(1, 17), QPoint(4, 9), QPoint(19, 9), QPoint(17, 17)}));
}

void drawDisk(QPainter& p)
{
    p.setBrush(QColor(60, 90, 170));
    p.drawRect(2, 2, 16, 16);
    p.setBrush(Qt::white);
    p.drawRect(5, 2, 10, 6);
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(5, 11, 10, 7);
}

void drawPatch(QPainter& p)
{
    p.setBrush(QColor(90, 90, 90));
    p.drawRect(6, 8, 12, 10); // the cartridge
    p.setBrush(QColor(220, 60, 60));
    p.drawRect(6, 8, 12, 3); // its header
    p.setPen(QPen(QColor(30, 130, 30), 2));
    p.drawLine(2, 2, 9, 9);
    p.drawLine(9, 9, 9, 5);
    p.drawLine(9, 9, 5, 9);
}

void drawList(QPainter& p)
{
    drawPage(p);
    for (int y = 7; y <= 15; y += 3)
        p.drawLine(6, y, 14, y);
}

void drawAbout(QPainter& p)
{
    p.setBrush(QColor(40, 100, 200));
    p.drawEllipse(1, 1, 18, 18);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(9, 4, 3, 3);
    p.drawRect(9, 8, 3, 8);
}

} // namespace

QIcon buttonPicture(ButtonPicture which)
{
    QPixmap pixmap(kSide, kSide);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    switch (which) {
    case ButtonPicture::New: drawPage(p); break;
    case ButtonPicture::Open: drawFolder(p); break;
    case ButtonPicture::Save: drawDisk(p); break;
    case ButtonPicture::Patch: drawPatch(p); break;
    case ButtonPicture::List: drawList(p); break;
    case ButtonPicture::About: drawAbout(p); break;
    }
    return QIcon(pixmap);
}

QPixmap cartridgePicture(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    QPainterPath shell;
    shell.addRoundedRect(QRectF(6, 4, 52, 56), 4, 4);
    p.fillPath(shell, QColor(110, 110, 115));
    p.setPen(QPen(Qt::black, 1.5));
    p.drawPath(shell);
    p.fillRect(QRectF(13, 10, 38, 26), QColor(230, 230, 220));
    p.fillRect(QRectF(13, 10, 38, 7), QColor(200, 40, 40));
    p.setPen(QPen(QColor(60, 60, 60), 2));
    for (int x = 14; x <= 50; x += 4)
        p.drawLine(x, 50, x, 58);
    return pixmap;
}
