#include "workspace/qt/spoed_layout.h"

#include <QAbstractButton>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace keystride {

namespace {

int share(Share part, int extra) {
    switch (part) {
    case Share::None:
        return 0;
    case Share::Half:
        return extra / 2;
    case Share::All:
        return extra;
    }
    return 0;
}

int scaled(int pixels, double scale) {
    return static_cast<int>(std::lround(pixels * scale));
}

} // namespace

double SpoedLayout::scaleFor(QSize client) {
    const double across = double(client.width()) / Nominal.width();
    const double down = double(client.height()) / Nominal.height();
    return std::clamp(std::min(across, down), MinimumScale, 1.0);
}

QSize SpoedLayout::minimumClient() {
    return QSize(static_cast<int>(std::ceil(Nominal.width() * MinimumScale)),
                 static_cast<int>(std::ceil(Nominal.height() * MinimumScale)));
}

void SpoedLayout::scaleFont(QWidget* widget, double points) {
    m_fonts.push_back({widget, points});
}

void SpoedLayout::apply(QSize client) const {
    const double scale = scaleFor(client);
    // What the scaled design leaves over goes to the panes, as at any size above the nominal.
    const int extraWidth = std::max(0, client.width() - scaled(Nominal.width(), scale));
    const int extraHeight = std::max(0, client.height() - scaled(Nominal.height(), scale));
    for (const Placement& p : m_placements) {
        const QRect& r = p.nominal;
        const int left = scaled(r.left(), scale);
        const int top = scaled(r.top(), scale);
        // Edges are scaled, not sizes, so that neighbours keep meeting where they met.
        const int width = scaled(r.left() + r.width(), scale) - left;
        const int height = scaled(r.top() + r.height(), scale) - top;
        p.widget->setGeometry(left + share(p.moveRight, extraWidth), top,
                              width + share(p.widen, extraWidth),
                              height + share(p.heighten, extraHeight));
        if (auto* button = qobject_cast<QAbstractButton*>(p.widget); button && p.iconPixels > 0)
            button->setIconSize(QSize(p.iconPixels, p.iconPixels) * scale);
    }
    for (const ScaledFont& f : m_fonts) {
        QFont font = f.widget->font();
        font.setPointSizeF(f.points * scale);
        f.widget->setFont(font);
    }
}

} // namespace keystride
