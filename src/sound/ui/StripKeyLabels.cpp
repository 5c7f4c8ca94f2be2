#include "sound/ui/StripKeyLabels.h"

#include "app/ui/TImage.h"
#include "sound/ui/KeyPlate.h"

#include <QEvent>
#include <QLabel>

namespace orvane {

namespace {

constexpr int kMargin = 2;

}  // namespace

void StripKeyLabels::Build() {
    for (qsizetype bell = labels_.size(); bell < widgets_.Strip.size(); ++bell) {
        TImage* picture = widgets_.Strip[bell];
        if (!picture) {
            labels_.append(nullptr);
            continue;
        }
        auto* label = new KeyPlate(picture);
        label->setObjectName(QStringLiteral("lblKey") + QString::number(bell));
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->setAlignment(Qt::AlignCenter);
        label->setVisible(visible_);
        picture->installEventFilter(this);
        labels_.append(label);
        Place(int(bell));
    }
}

void StripKeyLabels::SetTexts(const QStringList& keyNames, const QStringList& notes) {
    for (int bell = 0; bell < labels_.size(); ++bell) {
        QLabel* label = labels_[bell];
        if (!label) {
            continue;
        }
        QString text = keyNames.value(bell);
        if (!notes.isEmpty() && !notes.value(bell).isEmpty()) {
            text += u'\n' + notes.value(bell);
        }
        label->setText(text);
        label->setVisible(visible_ && !text.isEmpty());
        Place(bell);
    }
}

void StripKeyLabels::SetVisible(bool visible) {
    visible_ = visible;
    for (QLabel* label : labels_) {
        if (label) {
            label->setVisible(visible && !label->text().isEmpty());
        }
    }
}

QLabel* StripKeyLabels::Label(int bell) const {
    return bell >= 0 && bell < labels_.size() ? labels_[bell].data() : nullptr;
}

QString StripKeyLabels::NoteName(int note) {
    static const char* const kNames[12] = {"C",  "C#", "D",  "D#", "E",  "F",
                                           "F#", "G",  "G#", "A",  "A#", "B"};
    if (note < 0 || note > 127) {
        return {};
    }
    return QString::fromLatin1(kNames[note % 12]) + QString::number(note / 12 - 1);
}

bool StripKeyLabels::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize) {
        for (int bell = 0; bell < labels_.size(); ++bell) {
            if (labels_[bell] && labels_[bell]->parent() == watched) {
                Place(bell);
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void StripKeyLabels::Place(int bell) {
    QLabel* label = labels_.value(bell);
    if (!label || !label->parentWidget()) {
        return;
    }
    const QSize picture = label->parentWidget()->size();
    const QSize hint = label->sizeHint();
    const int width = std::min(hint.width(), picture.width() - 2 * kMargin);
    const int height = std::min(hint.height(), picture.height() - 2 * kMargin);
    label->setGeometry(kMargin, picture.height() - height - kMargin, width, height);
    label->raise();
}

}  // namespace orvane
