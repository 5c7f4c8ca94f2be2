#pragma once

#include "app/core/TAppPath.h"

#include <QString>
#include <memory>

namespace orvane {

class IniFile;
class TBellData;
class TSoundData;
class TChannels;

// The long-lived data of the program: its paths, the temporary sound folders, and the data
// objects that the start-up sequence creates in its fixed order (the pointers are empty until
// then and after the shutdown has released them). Owned by the main window; the controllers
// hold it by reference and read it from the user-interface thread. Whoever destroys it
// includes the complete types of its objects.
struct ProgramData {
    TAppPath AppPath;
    QString MonoTempDir;
    QString StereoTempDir;
    std::unique_ptr<IniFile> Settings;
    std::unique_ptr<TBellData> BellData;
    std::unique_ptr<TSoundData> SoundData;
    std::unique_ptr<TChannels> Channels;
};

}  // namespace orvane
