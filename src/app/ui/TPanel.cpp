#include "app/ui/TPanel.h"

namespace orvane {

TPanel::TPanel(const QString& name, QWidget* parent, Align align, int width, int height)
    : QFrame(parent), layout_(new AlignLayout(this)) {
    setObjectName(name);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    resize(width, height);
    if (align != Align::None) {
        AlignChild(this, align);
    }
}

void TPanel::SetHeight(int height) {
    resize(width(), height);
    AlignLayout::RealignParentOf(this);
    layout_->Realign();
}

void TPanel::SetWidth(int width) {
    resize(width, height());
    AlignLayout::RealignParentOf(this);
    layout_->Realign();
}

void TPanel::SetShown(bool shown) {
    setVisible(shown);
    AlignLayout::RealignParentOf(this);
}

void AlignChild(QWidget* child, Align align) {
    QWidget* parent = child->parentWidget();
    if (!parent) {
        return;
    }
    if (auto* layout = qobject_cast<AlignLayout*>(parent->layout())) {
        layout->AddAligned(child, align);
    }
}

}  // namespace orvane
