#include "app/ui/AlignLayout.h"

#include <QWidget>
#include <QWidgetItem>

namespace orvane {

AlignLayout::AlignLayout(QWidget* parent, int bevel) : QLayout(parent), bevel_(bevel) {
    // Qt's own layout passes use the whole widget too (not a frame's contents rectangle), so
    // they agree with Realign to the pixel and move nothing.
    if (parent) {
        parent->setAttribute(Qt::WA_LayoutOnEntireRect);
    }
    setContentsMargins(0, 0, 0, 0);
    setSpacing(0);
}

AlignLayout::~AlignLayout() {
    while (!entries_.isEmpty()) {
        delete entries_.takeLast().item;
    }
}

void AlignLayout::AddAligned(QWidget* child, Align align) {
    addChildWidget(child);
    entries_.append({new QWidgetItem(child), align, false, false});
}

void AlignLayout::AddAnchored(QWidget* child, bool right, bool bottom) {
    addChildWidget(child);
    if (QWidget* parent = parentWidget(); parent && !lastSize_.isValid()) {
        lastSize_ = parent->size();
    }
    entries_.append({new QWidgetItem(child), Align::None, right, bottom});
}

void AlignLayout::addItem(QLayoutItem* item) {
    entries_.append({item, Align::None, false, false});
}

QLayoutItem* AlignLayout::itemAt(int index) const {
    return index >= 0 && index < entries_.size() ? entries_[index].item : nullptr;
}

QLayoutItem* AlignLayout::takeAt(int index) {
    if (index < 0 || index >= entries_.size()) {
        return nullptr;
    }
    return entries_.takeAt(index).item;
}

int AlignLayout::count() const { return static_cast<int>(entries_.size()); }

QSize AlignLayout::sizeHint() const {
    QWidget* parent = parentWidget();
    return parent ? parent->size() : QSize();
}

QSize AlignLayout::minimumSize() const { return QSize(0, 0); }

void AlignLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    QRect area = rect.adjusted(bevel_, bevel_, -bevel_, -bevel_);
    const Align order[] = {Align::Top, Align::Bottom, Align::Left, Align::Right, Align::Client};
    for (Align pass : order) {
        for (const Entry& e : entries_) {
            QWidget* w = e.item->widget();
            if (!w || e.align != pass || w->isHidden()) {
                continue;
            }
            QRect g;
            switch (pass) {
                case Align::Top:
                    g = QRect(area.left(), area.top(), area.width(), w->height());
                    area.setTop(area.top() + w->height());
                    break;
                case Align::Bottom:
                    g = QRect(area.left(), area.bottom() + 1 - w->height(), area.width(), w->height());
                    area.setBottom(area.bottom() - w->height());
                    break;
                case Align::Left:
                    g = QRect(area.left(), area.top(), w->width(), area.height());
                    area.setLeft(area.left() + w->width());
                    break;
                case Align::Right:
                    g = QRect(area.right() + 1 - w->width(), area.top(), w->width(), area.height());
                    area.setRight(area.right() - w->width());
                    break;
                default:
                    g = QRect(area.left(), area.top(), std::max(0, area.width()), std::max(0, area.height()));
                    break;
            }
            g.setWidth(std::max(0, g.width()));
            g.setHeight(std::max(0, g.height()));
            w->setGeometry(g);
            if (auto* inner = qobject_cast<AlignLayout*>(w->layout())) {
                inner->setGeometry(w->rect());
            }
        }
    }
    // Anchored children move by as much as the parent's right or bottom edge moved.
    const QSize previous = lastSize_.isValid() ? lastSize_ : rect.size();
    for (const Entry& e : entries_) {
        QWidget* w = e.item->widget();
        if (!w || e.align != Align::None || !(e.anchorRight || e.anchorBottom)) {
            continue;
        }
        const int dx = e.anchorRight ? rect.width() - previous.width() : 0;
        const int dy = e.anchorBottom ? rect.height() - previous.height() : 0;
        if (dx != 0 || dy != 0) {
            w->move(w->x() + dx, w->y() + dy);
        }
    }
    lastSize_ = rect.size();
}

void AlignLayout::Realign() {
    if (QWidget* parent = parentWidget()) {
        setGeometry(parent->rect());
    }
}

void AlignLayout::RealignParentOf(QWidget* child) {
    if (child && child->parentWidget()) {
        if (auto* layout = qobject_cast<AlignLayout*>(child->parentWidget()->layout())) {
            layout->Realign();
        }
    }
}

}  // namespace orvane
