#pragma once

#include <QString>

namespace orvane {

// Receives the fatal report of a missing or corrupt data file. The main window implements it
// with the fatal message and the end of the program; tests record the paths.
class BadDataFileReporter {
public:
    virtual ~BadDataFileReporter() = default;
    virtual void ReportBadDataFile(const QString& path) = 0;
    // True once a report has ended the program; work that follows a check stops then.
    virtual bool Terminating() const { return false; }
};

// Reports path through reporter when no file of that name exists.
void CheckDataFile(const QString& path, BadDataFileReporter& reporter);

// The text of the fatal message for a path.
QString BadDataFileMessage(const QString& path);

}  // namespace orvane
