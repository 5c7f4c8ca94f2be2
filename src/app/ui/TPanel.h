#pragma once

#include "app/ui/AlignLayout.h"

#include <QFrame>

namespace orvane {

// A panel of the program's forms: a frame with a lowered inner bevel whose children are laid
// out by an AlignLayout. Changing its size through SetHeight/SetWidth realigns its parent at
// once, so that every size that follows from it is known when the call returns.
class TPanel : public QFrame {
    Q_OBJECT

public:
    TPanel(const QString& name, QWidget* parent, Align align, int width, int height);

    AlignLayout* Layout() const { return layout_; }
    void SetHeight(int height);
    void SetWidth(int width);
    // Shows or hides the panel and realigns its parent.
    void SetShown(bool shown);

private:
    AlignLayout* layout_;
};

// Adds child to the AlignLayout of its parent (a TPanel or a widget with an AlignLayout).
void AlignChild(QWidget* child, Align align);

}  // namespace orvane
