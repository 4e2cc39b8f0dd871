#include "app/gui/artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "commands/command_ids.h"

namespace quorbel::gui {

namespace {

using Painter = void (*)(QPainter&);

const QColor kInk(40, 40, 48);

void PaintPage(QPainter& p) {
    QPolygonF page({{5, 2}, {15, 2}, {20, 7}, {20, 22}, {5, 22}});
    p.setPen(QPen(kInk, 1));
    p.setBrush(Qt::white);
    p.drawPolygon(page);
    p.setBrush(QColor(210, 210, 220));
    p.drawPolygon(QPolygonF({{15, 2}, {15, 7}, {20, 7}}));
    p.setPen(QPen(QColor(120, 150, 210), 1));
    for (int y = 11; y <= 19; y += 3) p.drawLine(8, y, 17, y);
}

void PaintFolder(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(230, 190, 80));
    p.drawPolygon(QPolygonF({{2, 6}, {9, 6}, {11, 8}, {20, 8}, {20, 20}, {2, 20}}));
    p.setBrush(QColor(250, 215, 110));
    p.drawPolygon(QPolygonF({{5, 11}, {23, 11}, {20, 20}, {2, 20}}));
}

void PaintDisk(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(60, 90, 170));
    p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
    p.setBrush(QColor(235, 235, 240));
    p.drawRect(QRectF(7, 3, 10, 7));
    p.setBrush(QColor(60, 90, 170));
    p.drawRect(QRectF(13, 4, 2, 4));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6, 13, 12, 8));
}

void PaintPlay(QPainter& p) {
    p.setPen(QPen(QColor(20, 90, 30), 1));
    p.setBrush(QColor(60, 180, 70));
    p.drawPolygon(QPolygonF({{7, 4}, {20, 12}, {7, 20}}));
}

void PaintRecord(QPainter& p) {
    QRadialGradient glow(QPointF(10, 10), 10);
    glow.setColorAt(0, QColor(255, 140, 140));
    glow.setColorAt(1, QColor(190, 20, 20));
    p.setPen(QPen(QColor(110, 10, 10), 1));
    p.setBrush(glow);
    p.drawEllipse(QPointF(12, 12), 8, 8);
}

void PaintPause(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(70, 110, 200));
    p.drawRect(QRectF(6, 5, 4, 14));
    p.drawRect(QRectF(14, 5, 4, 14));
}

void PaintBackground(QPainter& p) {
    const QColor swatches[] = {QColor(220, 40, 40), QColor(40, 170, 60), QColor(40, 80, 220), QColor(240, 200, 40)};
    for (int i = 0; i < 4; ++i) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(swatches[i]);
        p.drawRect(QRectF(3 + (i % 2) * 9, 3 + (i / 2) * 9, 8, 8));
    }
    p.setBrush(Qt::black);
    p.drawRect(QRectF(13, 13, 8, 8));
}

// A block capital T, extruded: the title text.
void PaintText(QPainter& p) {
    QPolygonF letter({{3, 3}, {19, 3}, {19, 8}, {13.5, 8}, {13.5, 21}, {8.5, 21}, {8.5, 8}, {3, 8}});
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(110, 110, 130));
    p.drawPolygon(letter.translated(2, 1.5));
    QLinearGradient chrome(0, 3, 0, 21);
    chrome.setColorAt(0, QColor(250, 250, 255));
    chrome.setColorAt(1, QColor(150, 160, 190));
    p.setPen(QPen(kInk, 1));
    p.setBrush(chrome);
    p.drawPolygon(letter);
}

void PaintParticles(QPainter& p) {
    p.setPen(Qt::NoPen);
    const QPointF drops[] = {{12, 20}, {10, 16}, {14, 15}, {8, 11}, {15, 10}, {11, 8}, {6, 6}, {18, 6}, {13, 4}};
    int i = 0;
    for (QPointF drop : drops) {
        p.setBrush(QColor::fromHsv((190 + i * 17) % 360, 160, 250));
        p.drawEllipse(drop, 1.8, 1.8);
        ++i;
    }
}

QPolygonF StarShape(QPointF centre, double outer, double inner) {
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        double angle = -M_PI / 2 + i * M_PI / 5;
        double r = i % 2 ? inner : outer;
        star << centre + QPointF(std::cos(angle) * r, std::sin(angle) * r);
    }
    return star;
}

void PaintStars(QPainter& p) {
    p.setPen(QPen(QColor(150, 110, 0), 1));
    p.setBrush(QColor(255, 215, 40));
    p.drawPolygon(StarShape({11, 12}, 9, 3.8));
    p.setBrush(QColor(255, 245, 170));
    p.drawPolygon(StarShape({20, 4}, 3.5, 1.4));
}

void PaintTunnel(QPainter& p) {
    p.setBrush(Qt::NoBrush);
    for (int ring = 0; ring < 4; ++ring) {
        int shade = 60 + ring * 50;
        p.setPen(QPen(QColor(shade / 2, shade / 2, shade), 1.5));
        double r = 10.0 - ring * 2.4;
        p.drawEllipse(QPointF(12, 12), r, r * 0.85);
    }
}

void PaintTiles(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            p.setBrush((row + column) % 2 ? QColor(90, 150, 210) : QColor(220, 230, 245));
            p.drawRect(QRectF(3 + column * 6, 3 + row * 6, 6, 6));
        }
    }
}

void PaintFire(QPainter& p) {
    QPainterPath outer;
    outer.moveTo(12, 22);
    outer.cubicTo(4, 21, 3, 13, 9, 7);
    outer.cubicTo(9, 11, 11, 12, 12, 2);
    outer.cubicTo(16, 8, 21, 13, 18, 19);
    outer.cubicTo(17, 21, 15, 22, 12, 22);
    p.setPen(QPen(QColor(150, 30, 0), 1));
    p.setBrush(QColor(240, 90, 20));
    p.drawPath(outer);
    QPainterPath inner;
    inner.moveTo(12, 21);
    inner.cubicTo(8, 20, 8, 15, 11, 12);
    inner.cubicTo(12, 15, 15, 16, 15, 18);
    inner.cubicTo(15, 20, 14, 21, 12, 21);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 220, 80));
    p.drawPath(inner);
}

// A disc smeared into fading copies: the blurs.
void PaintBlur(QPainter& p) {
    p.setPen(Qt::NoPen);
    for (int copy = 3; copy >= 0; --copy) {
        p.setBrush(QColor(60, 120, 230, 60 + (3 - copy) * 60));
        p.drawEllipse(QPointF(9 + copy * 2.5, 12), 6, 6);
    }
}

void PaintAbout(QPainter& p) {
    p.setPen(QPen(QColor(20, 60, 140), 1));
    p.setBrush(QColor(70, 130, 220));
    p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(12, 7), 1.8, 1.8);
    p.drawRoundedRect(QRectF(10.5, 10, 3, 9), 1, 1);
}

void PaintNeutral(QPainter& p) {
    p.setPen(QPen(QColor(140, 140, 150), 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(5.5, 5.5, 13, 13));
}

struct IconRow {
    int command;
    Painter paint;
};

constexpr IconRow kIcons[] = {
    {command::kNewSettings, PaintPage},      {command::kOpenSettings, PaintFolder},
    {command::kSaveSettings, PaintDisk},     {command::kPlay, PaintPlay},
    {command::kGenerateAvi, PaintRecord},    {command::kPause, PaintPause},
    {command::kBackgroundColour, PaintBackground}, {command::kEditText, PaintText},
    {command::kEditParticles, PaintParticles}, {command::kEditStars, PaintStars},
    {command::kEditTunnel, PaintTunnel},     {command::kEditTiles, PaintTiles},
    {command::kEditFire, PaintFire},         {command::kEditBlur, PaintBlur},
    {command::kAbout, PaintAbout},
};

QImage Transparent(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

}  // namespace

QImage ToolbarIcon(int command) {
    QImage image = Transparent(kToolbarIconSize, kToolbarIconSize);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    Painter paint = PaintNeutral;
    for (const IconRow& row : kIcons)
        if (row.command == command) paint = row.paint;
    paint(painter);
    return image;
}

QImage BulbPicture() {
    QImage image(40, 56, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glass(QPointF(16, 16), 18);
    glass.setColorAt(0, QColor(255, 255, 220));
    glass.setColorAt(0.6, QColor(255, 235, 120));
    glass.setColorAt(1, QColor(230, 180, 30));
    QPainterPath bulb;
    bulb.addEllipse(QPointF(20, 19), 15, 15);
    QPainterPath neck;
    neck.addRect(QRectF(13, 28, 14, 10));
    p.setPen(QPen(QColor(150, 110, 0), 1.2));
    p.setBrush(glass);
    p.drawPath(bulb.united(neck));
    p.setPen(QPen(QColor(170, 120, 20), 1));
    p.drawPolyline(QPolygonF({{16, 36}, {16, 22}, {18, 19}, {20, 22}, {22, 19}, {24, 22}, {24, 36}}));
    p.setPen(QPen(QColor(80, 80, 90), 1));
    p.setBrush(QColor(170, 170, 180));
    for (int ring = 0; ring < 3; ++ring) p.drawRoundedRect(QRectF(13, 38 + ring * 4, 14, 4), 1.5, 1.5);
    p.setBrush(QColor(70, 70, 80));
    p.drawEllipse(QPointF(20, 51.5), 3, 2);
    return image;
}

// A chrome "Q" ring, extruded towards the lower right, on a night-blue tile
// with a few stars: the title over the star field.
QImage AppIcon(int size) {
    QImage image = Transparent(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    QLinearGradient sky(0, 0, 0, 64);
    sky.setColorAt(0, QColor(20, 24, 70));
    sky.setColorAt(1, QColor(5, 5, 20));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
    p.setBrush(QColor(255, 255, 230));
    for (QPointF star : {QPointF(12, 12), QPointF(50, 10), QPointF(54, 30), QPointF(9, 44), QPointF(46, 53)})
        p.drawEllipse(star, 1.2, 1.2);

    QPainterPath ring;
    ring.addEllipse(QPointF(30, 30), 17, 17);
    ring.addEllipse(QPointF(30, 30), 10, 10);
    QPainterPath tail;
    tail.addPolygon(QPolygonF({{35, 38}, {41, 34}, {52, 47}, {46, 51}}));
    tail.closeSubpath();
    QPainterPath letter = ring.united(tail);
    letter.setFillRule(Qt::OddEvenFill);
    for (int depth = 5; depth >= 1; --depth) {
        p.setBrush(QColor(60 + depth * 8, 40 + depth * 6, 120 + depth * 10));
        p.drawPath(letter.translated(depth * 0.7, depth * 0.7));
    }
    QLinearGradient chrome(0, 12, 0, 50);
    chrome.setColorAt(0, QColor(255, 255, 255));
    chrome.setColorAt(0.5, QColor(170, 190, 230));
    chrome.setColorAt(0.52, QColor(90, 100, 150));
    chrome.setColorAt(1, QColor(220, 230, 255));
    p.setBrush(chrome);
    p.setPen(QPen(QColor(30, 30, 60), 0.8));
    p.drawPath(letter);
    return image;
}

}  // namespace quorbel::gui
