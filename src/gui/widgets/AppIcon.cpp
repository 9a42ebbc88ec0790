#include "gui/widgets/AppIcon.h"

#include <QPainter>

using namespace Qt::StringLiterals;

namespace AppIcon {

QPixmap pixmap(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x1f, 0x4e, 0x8c));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(0, 0, size, size), size * 0.18, size * 0.18);
    p.setBrush(QColor(0xd6, 0x2b, 0x2b));
    p.drawRect(QRectF(size * 0.55, size * 0.55, size * 0.45, size * 0.45));
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(static_cast<int>(size * 0.5));
    p.setFont(f);
    p.drawText(QRectF(0, 0, size, size * 0.9), Qt::AlignCenter, u"Lx"_s);
    return pm;
}

QIcon icon() {
    QIcon i;
    for (int s : {16, 22, 32, 48, 64}) {
        i.addPixmap(pixmap(s));
    }
    return i;
}

} // namespace AppIcon
