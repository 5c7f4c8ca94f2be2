#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>

class QLabel;

namespace orvane {

class TImage;

// The pictures of the strip, written by the strip controller; the instrument controller
// passes them on from its own widgets.
struct StripKeyLabelsWidgets {
    QList<QPointer<TImage>>& Strip;
};

// Small labels on the pictures of the strip that tell which key (and, while a MIDI port is
// open, which MIDI note) rings each bell. A label is white text on a dark, half-transparent
// plate in the picture's lower left corner, so it reads on the in-set and the out-of-set
// pictures alike; it lets clicks through to its picture. The labels are children of the
// pictures and go with them. User-interface thread only.
class StripKeyLabels : public QObject {
    Q_OBJECT

public:
    explicit StripKeyLabels(StripKeyLabelsWidgets widgets) : widgets_(widgets) {}

    // Creates a label on each picture of the strip that has none yet.
    void Build();
    // The texts: keyNames[i] and, when notes is not empty, notes[i] for bell i.
    void SetTexts(const QStringList& keyNames, const QStringList& notes);
    void SetVisible(bool visible);
    bool Visible() const { return visible_; }

    // The label of bell 0 to 14, or null (before Build, or once the strip is freed).
    QLabel* Label(int bell) const;

    // A MIDI note's name: "C2" for note 36, "C4" for middle C (60).
    static QString NoteName(int note);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Place(int bell);

    const StripKeyLabelsWidgets widgets_;
    QList<QPointer<QLabel>> labels_;
    bool visible_ = true;
};

}  // namespace orvane
