// The custom chime loader: the four leading lines, then the score through the loader.

#include "FuzzSupport.h"

#include "app/core/TextFile.h"
#include "chime/core/ChimeScore.h"
#include "chime/core/ChimeScoreObserver.h"
#include "chime/core/CustomChime.h"
#include "chime/core/TChannels.h"

using namespace orvane;

namespace {

struct QuietObserver : ChimeScoreObserver {
    void ClearGroupFrames(QChar) override {}
    void ShowTempo() override {}
    void ShowTotalDuration() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList lines = SplitLines(DecodeText(bytes));
    (void)CustomChimeDescription(lines);
    (void)CustomChimePath(fuzz::Scratch(), lines.value(2));
    const std::optional<CustomChime> chime = ParseCustomChime(lines);
    if (!chime) {
        return 0;
    }
    ORVANE_FUZZ_CHECK(chime->bells.size() == kCustomSetLength && chime->types.size() == kCustomSetLength);
    ORVANE_FUZZ_CHECK(!chime->score.isEmpty());
    const QString path = fuzz::Scratch() + "/custom.kol";
    if (!WriteTextLines(path, chime->score)) {
        return 0;
    }
    TChannels channels;
    QuietObserver observer;
    LoadChimeScore(channels, kWholeChime, path, observer);
    return 0;
}
