#include "gui/widgets/AppIcon.h"

#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>

namespace AppIcon {

namespace {

// Draws the icon at the size asked, when first asked: every size drawn up front held back the
// tray icon at each start.
class DrawnIconEngine : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::max(1, std::min(size.width(), size.height()));
        auto drawn = m_drawn.find(side);
        if (drawn == m_drawn.end()) {
            drawn = m_drawn.insert(side, AppIcon::pixmap(side));
        }
        return *drawn;
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::min(size.width(), size.height());
        return {side, side};
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        return {{16, 16}, {22, 22}, {32, 32}, {48, 48}, {64, 64}};
    }
    QIconEngine* clone() const override { return new DrawnIconEngine(*this); }

private:
    QHash<int, QPixmap> m_drawn;
};

} // namespace

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
    // "Lx" in strokes, not in a font: the same letters on every system, and no font to load
    // before the tray icon shows.
    p.setBrush(Qt::white);
    const auto at = [size](double x, double y) { return QPointF(x * size, y * size); };
    p.drawRect(QRectF(at(0.235, 0.262), at(0.327, 0.605)));
    p.drawRect(QRectF(at(0.235, 0.52), at(0.5, 0.605)));
    p.drawPolygon(QPolygonF{at(0.527, 0.344), at(0.62, 0.344), at(0.78, 0.605), at(0.687, 0.605)});
    p.drawPolygon(QPolygonF{at(0.687, 0.344), at(0.78, 0.344), at(0.62, 0.605), at(0.527, 0.605)});
    return pm;
}

QIcon icon() {
    return QIcon(new DrawnIconEngine);
}

} // namespace AppIcon
