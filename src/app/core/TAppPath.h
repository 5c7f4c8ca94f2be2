#pragma once

#include <QString>

namespace orvane {

// The application paths, formed once at start-up from the program folder. Folders end in "/".
struct TAppPath {
    QString AppDir;
    QString IniFile;
    QString DataDir;
    QString DescFile;
    QString ImagesDir;
    QString SoundDir;  // the program's Sound folder at first; the sound folder once set
    QString SerialFile;
    QString ChimeDir;
    QString CommonFile;
    QString AnimateDir;
    QString HelpFile;
    QString VoiceDir;
    QString AboutFile;
    QString CustomDir;
    QString TempScoreFile;
    QString ReferenceFile;
};

// Forms every path from appDir (with or without a trailing "/").
TAppPath FormAppPath(const QString& appDir);

}  // namespace orvane
