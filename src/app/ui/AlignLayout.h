#pragma once

#include <QLayout>
#include <QList>

namespace orvane {

// How a child sits in its parent: against an edge, filling what is left, or placed by hand.
enum class Align { None, Top, Bottom, Left, Right, Client };

// Lays out the children of a panel the way the program's forms are built: children aligned to
// the top, then the bottom, then the left, then the right edge take their height or width off
// the remaining area in the order they were added; client children fill what is left. The
// area starts `bevel` pixels inside the parent: 2 for a panel (its lowered bevel), 0 for a
// window's client area, which has no bevel. A child's own size is
// kept in the direction it is aligned, so code sets a panel's height and realigns. Hidden
// children take no room. Children placed by hand may keep their distance from the right or
// bottom edge. Layout is synchronous: Realign() applies it at once, down the whole tree.
class AlignLayout : public QLayout {
    Q_OBJECT

public:
    static constexpr int kBevel = 2;

    explicit AlignLayout(QWidget* parent, int bevel = kBevel);
    ~AlignLayout() override;

    void AddAligned(QWidget* child, Align align);
    // A child placed by hand that keeps its distance from the right and/or bottom edge of the
    // parent: when the parent changes size, the child moves with that edge.
    void AddAnchored(QWidget* child, bool right, bool bottom);

    // Lays the parent's children out now, and their children in turn.
    void Realign();
    // Realigns the layout of the widget's parent (when it has an AlignLayout).
    static void RealignParentOf(QWidget* child);

    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    struct Entry {
        QLayoutItem* item;
        Align align;
        bool anchorRight;
        bool anchorBottom;
    };
    QList<Entry> entries_;
    int bevel_ = kBevel;
    QSize lastSize_;
};

}  // namespace orvane
