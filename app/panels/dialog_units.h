// Dialog units to pixels: a quarter of the dialog font's average character
// width across, an eighth of its character height down, so a panel laid out
// in dialog units grows with the desktop's font.
#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>

#include "panels/panel_template.h"

namespace quorbel {

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int X(int units) const;
    int Y(int units) const;
    QPoint Point(int x, int y) const { return {X(x), Y(y)}; }
    QSize Size(const DialogRect& rect) const { return {X(rect.width), Y(rect.height)}; }
    QRect Rect(const DialogRect& rect) const { return {Point(rect.x, rect.y), Size(rect)}; }

    int baseWidth() const { return baseWidth_; }
    int baseHeight() const { return baseHeight_; }

private:
    int baseWidth_;
    int baseHeight_;
};

}  // namespace quorbel
