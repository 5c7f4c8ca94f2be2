#pragma once

#include <QString>
#include <QStringList>

namespace orvane {

class TSoundData;

// The rows of a chime catalogue that a bell set can play: their titles and chime file paths,
// in catalogue order, without the leading "Chime selection" item of the selectors.
struct ChimeChoice {
    QStringList titles;
    QStringList files;
};

// The study chimes of group g (0 small, 1 medium-size, 2 great) for a group signature: the
// rows whose requirement text the group's count text (character g + 1 of the signature) sorts
// at or after, compared as texts.
ChimeChoice GroupChimes(const TSoundData& data, int group, const QString& signature);

// The whole chimes for a group signature: the rows of the common catalogue whose requirement
// is three digits (small, medium-size, great), each not above the matching count of the
// signature. Rows with any other requirement are left out.
ChimeChoice CommonChimes(const TSoundData& data, const QString& signature);

}  // namespace orvane
