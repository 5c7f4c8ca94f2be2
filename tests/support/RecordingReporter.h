#pragma once

#include "catalogue/core/DataFileCheck.h"

#include <QStringList>

// Records the paths of the fatal data-file reports instead of ending the program.
struct RecordingReporter : orvane::BadDataFileReporter {
    QStringList paths;
    void ReportBadDataFile(const QString& path) override { paths.append(path); }
};
