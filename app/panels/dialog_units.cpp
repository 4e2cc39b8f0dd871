#include "app/panels/dialog_units.h"

#include <QFontMetrics>

namespace quorbel {

namespace {
constexpr const char* kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
}

// The average over the 52 letters, rounded to the nearest pixel.
DialogUnits::DialogUnits(const QFont& font) {
    QFontMetrics metrics(font);
    baseWidth_ = (metrics.horizontalAdvance(QString::fromLatin1(kAlphabet)) / 26 + 1) / 2;
    baseHeight_ = metrics.height();
}

int DialogUnits::X(int units) const { return (units * baseWidth_ + 2) / 4; }
int DialogUnits::Y(int units) const { return (units * baseHeight_ + 4) / 8; }

}  // namespace quorbel
