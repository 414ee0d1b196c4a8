// Where the main window's controls sit. At the nominal client size every control has the place
// the window was designed with (twips / 15); a larger window gives its extra room to the two
// panes; a smaller one scales the whole design down, fonts included, so that the window fits
// small and high-scaled screens.
#pragma once

#include <QRect>
#include <QSize>

#include <vector>

class QWidget;

namespace keystride {

// How much of the room beyond the nominal size reaches a control, in one direction.
enum class Share { None, Half, All };

struct Placement {
    QWidget* widget = nullptr;
    QRect nominal; // in pixels, at the nominal client size
    Share moveRight = Share::None;
    Share widen = Share::None;
    Share heighten = Share::None;
    int iconPixels = 0; // a picture button's picture at the nominal size
};

class SpoedLayout {
public:
    // The client area of the design: 15090 x 9915 twips at 15 twips a pixel.
    static constexpr QSize Nominal{1006, 661};
    // The smallest the design is scaled to: small enough that the window with its menu bar, a
    // title bar and the desktop's panel fits 1366 x 768 shown at 150 % (911 x 512 pixels).
    static constexpr double MinimumScale = 0.6;

    // The scale of the design in a client area of `client`: 1 at the nominal size and above.
    static double scaleFor(QSize client);
    // The smallest client area the window allows.
    static QSize minimumClient();

    void place(const Placement& placement) { m_placements.push_back(placement); }
    // `widget`'s font is `points` at the nominal size and scales with the design.
    void scaleFont(QWidget* widget, double points);

    // Puts every control in its place for a client area of `client`.
    void apply(QSize client) const;

private:
    struct ScaledFont {
        QWidget* widget;
        double points;
    };
    std::vector<Placement> m_placements;
    std::vector<ScaledFont> m_fonts;
};

} // namespace keystride
