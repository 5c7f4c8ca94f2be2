#pragma once

#include <QtGlobal>

namespace orvane {

// Asks the system to back the whole large pages inside fresh, not yet written storage of bytes
// bytes at begin with large pages where it can (on Linux, transparent huge pages in "madvise"
// mode): a score's lists of some tens of megabytes then take a few dozen page faults instead
// of thousands on their first load. Only advice: the storage and its content behave as before,
// and where the system has no such pages nothing changes. Any thread.
void AdviseLargePages(const void* begin, qsizetype bytes);

}  // namespace orvane
