// The settings file: every read the program makes of a file of any content, and a write that
// must read back unchanged.

#include "FuzzSupport.h"

#include "app/core/IniFile.h"
#include "app/core/TextFile.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QList<QByteArray> parts = fuzz::SplitInput(data, size, 2);
    const QString path = fuzz::Scratch() + "/orvane.ini";
    fuzz::WriteFile(path, parts[0]);
    IniFile ini(path);
    static const char* const kKeys[][2] = {
        {"View", "Tools"},   {"View", "Bells"},    {"View", "Info"},      {"View", "Groups"},
        {"Form", "Left"},    {"Form", "Top"},      {"Form", "Width"},     {"Form", "Height"},
        {"Serial", "Bells"}, {"Serial", "Types"},  {"Settings", "Grid"},  {"Settings", "Stereo"},
        {"Settings", "Animate"}, {"Settings", "Notes"}, {"Settings", "View"}};
    for (const auto& key : kKeys) {
        const QString section = QString::fromLatin1(key[0]);
        const QString name = QString::fromLatin1(key[1]);
        (void)ini.ReadString(section, name, QString());
        (void)ini.ReadInteger(section, name, 7);
        (void)ini.ReadBool(section, name, true);
    }
    int value = 0;
    (void)IniFile::ParseInteger(DecodeText(parts[1]), value);

    // What the program writes it reads back, whatever the file held before.
    const int number = static_cast<int>(parts[1].size()) * 37 - 1000;
    if (ini.WriteInteger(QStringLiteral("Form"), QStringLiteral("Width"), number)) {
        ORVANE_FUZZ_CHECK(ini.ReadInteger(QStringLiteral("Form"), QStringLiteral("Width"), 0) == number);
    }
    QString text = DecodeText(parts[1]).left(64);
    text.remove(u'\r');
    text.remove(u'\n');
    text = text.trimmed();
    if (ini.WriteString(QStringLiteral("Serial"), QStringLiteral("Types"), text)) {
        ORVANE_FUZZ_CHECK(ini.ReadString(QStringLiteral("Serial"), QStringLiteral("Types"), QStringLiteral("?")) == text);
    }
    return 0;
}
