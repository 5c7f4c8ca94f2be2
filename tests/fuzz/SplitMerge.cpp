// Splitting the combined step list by group and merging the three group lists back.

#include "FuzzSupport.h"

#include "app/core/TextFile.h"
#include "chime/core/ChimeScore.h"
#include "chime/core/TChannels.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The combined list, then the three group lists.
    const QList<QByteArray> parts = fuzz::SplitInput(data, size, 4);
    TChannels channels;
    channels.Steps = SplitLines(DecodeText(parts[0]));
    const qsizetype steps = channels.Steps.size();
    SplitByGroup(channels);
    for (int g = 0; g < 3; ++g) {
        ORVANE_FUZZ_CHECK(channels.GroupSteps(g).size() == steps);
        for (const QString& line : channels.GroupSteps(g)) {
            for (const QString& mark : line.split(u',', Qt::SkipEmptyParts)) {
                ORVANE_FUZZ_CHECK(mark.startsWith(QLatin1String("smb").mid(g, 1)));
            }
        }
    }
    for (int g = 0; g < 3; ++g) {
        channels.GroupSteps(g) = SplitLines(DecodeText(parts[1 + g]));
    }
    channels.RawLines = channels.Steps;
    MergeGroups(channels);
    ORVANE_FUZZ_CHECK(channels.Steps.size() == 128);
    ORVANE_FUZZ_CHECK(channels.RawLines.isEmpty());
    SplitByGroup(channels);
    return 0;
}
