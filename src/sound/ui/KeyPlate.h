#pragma once

#include <QLabel>

namespace orvane {

// The label of one bell's key on its strip picture: white bold text on a dark,
// half-transparent plate with rounded corners. Drawn by itself rather than through a style
// sheet, which would give each of the fifteen labels a style of its own to build at start.
// User-interface thread only.
class KeyPlate : public QLabel {
    Q_OBJECT

public:
    explicit KeyPlate(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace orvane
