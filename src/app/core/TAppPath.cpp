#include "app/core/TAppPath.h"

namespace orvane {

TAppPath FormAppPath(const QString& appDir) {
    TAppPath p;
    p.AppDir = appDir.endsWith(u'/') ? appDir : appDir + u'/';
    p.IniFile = p.AppDir + QStringLiteral("orvane.ini");
    p.DataDir = p.AppDir + QStringLiteral("Data/");
    p.DescFile = p.DataDir + QStringLiteral("desc.kli");
    p.ImagesDir = p.AppDir + QStringLiteral("Images/");
    p.SoundDir = p.AppDir + QStringLiteral("Sound/");
    p.SerialFile = p.AppDir + QStringLiteral("serial.ini");
    p.ChimeDir = p.AppDir + QStringLiteral("Chime/");
    p.CommonFile = p.ChimeDir + QStringLiteral("common.kli");
    p.AnimateDir = p.AppDir + QStringLiteral("Animate/");
    p.HelpFile = p.AppDir + QStringLiteral("Help/index.htm");
    p.VoiceDir = p.AppDir + QStringLiteral("Voice/");
    p.ReferenceFile = p.VoiceDir + QStringLiteral("reference.htm");
    p.AboutFile = p.AppDir + QStringLiteral("About/index.htm");
    p.CustomDir = p.AppDir + QStringLiteral("Custom/");
    p.TempScoreFile = p.CustomDir + QStringLiteral("temp.kol.tmp");
    return p;
}

}  // namespace orvane
