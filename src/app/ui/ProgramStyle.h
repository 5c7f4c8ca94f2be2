#pragma once

#include <QProxyStyle>
#include <functional>

class QPainter;

namespace orvane {

// The platform's style, with the few standard icons that the main window needs at start drawn
// here: the style would read them as image files, and the first such read loads every image
// format plugin of the system (tens of milliseconds at each start). Everything else is the
// platform style's own. Installed by the program entry, before the first window exists.
class ProgramStyle : public QProxyStyle {
    Q_OBJECT

public:
    ProgramStyle();

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;

    // An icon drawn by `draw` on a 16-unit square, at 16 and 32 pixels for screens of either
    // density, antialiased, on a transparent ground.
    static QIcon DrawnIcon(const std::function<void(QPainter&)>& draw);

    // The menu bar's and tool bar's extension glyph ("more items"), horizontal or vertical.
    static QIcon ExtensionIcon(bool horizontal, const QColor& colour);
};

}  // namespace orvane
