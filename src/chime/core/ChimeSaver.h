#pragma once

#include <QString>
#include <QStringList>

namespace orvane {

// Saving a recorded chime into the chime library: the whole chime and the study chimes of the
// checked groups as chime score files under the Chime folder, each registered by one record in
// its list file (common.kli, small.kli, middle.kli, big.kli). Runs on the calling thread and
// touches nothing but the files it names; never shows a message (the caller shows SaveMessage).

struct ChimeSaveRequest {
    QString chimeDir;  // the Chime folder ("/" or without, native separators)
    QString
        fileName;  // file name relative to chimeDir, sub-folders with "\" or "/", ".kol" optional
    QString chimeName;           // the chime's name as the lists show it
    bool whole = true;           // save the whole chime
    bool small = false;          // save the study chime of the small bells ("small_" prefix)
    bool middle = false;         // ... of the medium-size bells ("middle_")
    bool big = false;            // ... of the great bells ("big_")
    bool registerChimes = true;  // append the registration records
    QString signature;           // the group signature of the bell set in use, e.g. "231"
    QStringList recording;       // the recorder's lines: the step interval, then one line per step
};

enum class ChimeSaveOutcome {
    kSaved,
    kFieldsMissing,     // chime name or file name empty; nothing written
    kNameRefused,       // a name a list file cannot hold (ChimeNameProblem); nothing written
    kDirectoryMissing,  // the folder of the file does not exist, or lies outside the Chime folder
    kEmptyRecording,    // no header line; nothing written
    kWriteFailed,       // a file could not be written; what was written before stays
};

// Writes and registers the chime as the request says. Chime files are replaced whole and
// atomically (CR LF lines, Windows-1251). Registration records are "requirement;name;file" with
// "\" separators, appended in the order small, medium-size, great, whole; a line break is put in
// front of a record only when the list file is not empty and does not already end with one.
ChimeSaveOutcome SaveChime(const ChimeSaveRequest& request);

// The message the user sees for an outcome; empty for the outcomes that end silently. For
// kNameRefused, ChimeNameProblem of the request's names says what is wrong.
QString SaveMessage(ChimeSaveOutcome outcome);

// The file name with ".kol" appended unless its last component's extension is exactly ".kol".
QString WithChimeExtension(const QString& fileName);

// Appends one record to a list file, creating it when missing, as SaveChime does. Returns false
// when the file cannot be read or written.
bool AppendListRecord(const QString& path, const QString& record);

}  // namespace orvane
