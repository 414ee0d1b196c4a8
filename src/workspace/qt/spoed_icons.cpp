#include "workspace/qt/spoed_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace keystride::icons {

namespace {

constexpr int IconSize = 64;

template <typename Draw> QIcon drawn(Draw draw) {
    QPixmap pixmap(IconSize, IconSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    return QIcon(pixmap);
}

void sheetWithLines(QPainter& p, const QRectF& rect, const QColor& fill) {
    p.setPen(QPen(QColor(70, 70, 70), 2.5));
    p.setBrush(fill);
    p.drawRect(rect);
    p.setPen(QPen(QColor(60, 90, 160), 3));
    for (qreal y = rect.top() + 8; y < rect.bottom() - 4; y += 7)
        p.drawLine(QPointF(rect.left() + 6, y), QPointF(rect.right() - 6, y));
}

} // namespace

QIcon openDocument(const QColor& sheet) {
    return drawn([&sheet](QPainter& p) {
        // Folder back.
        p.setPen(QPen(QColor(120, 85, 20), 2.5));
        p.setBrush(QColor(230, 180, 60));
        QPainterPath back;
        back.moveTo(4, 14);
        back.lineTo(22, 14);
        back.lineTo(27, 20);
        back.lineTo(56, 20);
        back.lineTo(56, 56);
        back.lineTo(4, 56);
        back.closeSubpath();
        p.drawPath(back);
        sheetWithLines(p, QRectF(16, 6, 32, 38), sheet);
        // Folder front, opened towards the viewer.
        p.setPen(QPen(QColor(120, 85, 20), 2.5));
        p.setBrush(QColor(245, 200, 80));
        QPainterPath front;
        front.moveTo(4, 56);
        front.lineTo(12, 30);
        front.lineTo(62, 30);
        front.lineTo(56, 56);
        front.closeSubpath();
        p.drawPath(front);
    });
}

QIcon printer() {
    return drawn([](QPainter& p) {
        sheetWithLines(p, QRectF(16, 4, 32, 26), Qt::white);
        p.setPen(QPen(QColor(50, 50, 50), 2.5));
        p.setBrush(QColor(150, 150, 160));
        p.drawRoundedRect(QRectF(4, 24, 56, 24), 5, 5);
        p.setBrush(QColor(90, 90, 100));
        p.drawRect(QRectF(14, 40, 36, 8));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(16, 46, 32, 14));
        p.setBrush(QColor(60, 200, 80));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(50, 31), 3, 3);
    });
}

QIcon cutOff() {
    return drawn([](QPainter& p) {
        sheetWithLines(p, QRectF(6, 4, 40, 54), QColor(235, 235, 235));
        // The compared part ends here.
        p.setPen(QPen(QColor(0, 0, 255), 5));
        p.drawLine(QPointF(32, 12), QPointF(32, 34));
        // Mouse pointer.
        p.setPen(QPen(Qt::black, 2.5));
        p.setBrush(Qt::white);
        QPainterPath arrow;
        arrow.moveTo(34, 30);
        arrow.lineTo(34, 62);
        arrow.lineTo(42, 54);
        arrow.lineTo(48, 64);
        arrow.lineTo(54, 61);
        arrow.lineTo(48, 51);
        arrow.lineTo(58, 50);
        arrow.closeSubpath();
        p.drawPath(arrow);
    });
}

} // namespace keystride::icons
