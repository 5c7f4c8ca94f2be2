#pragma once

#include "chime/core/CasualDraw.h"
#include "chime/core/CustomChime.h"

#include <QStringList>
#include <optional>

namespace orvane {

// What the player asks of the chime library to go on after a pass: the next custom chime of
// "Play all", and the steps of a combination of study chimes. User-interface thread only.
class ChimeLibrarySource {
  public:
    // The playback tick at the end of a chime with "Play all" checked, after it selected the
    // next custom chime: loads it and enables the playback timer.
    virtual void LoadNextCustomChime() = 0;
    // The custom chime of the entry after the selected one, read ahead; nothing when it cannot
    // be read or is not a custom chime file.
    virtual std::optional<CustomChime> ReadNextCustomChime() const = 0;
    // The combined step list that choosing the study chimes of `combination` would give,
    // without loading it.
    virtual QStringList CombinationSteps(const Combination& combination) const = 0;

  protected:
    ~ChimeLibrarySource() = default;
};

}  // namespace orvane
