#pragma once

#include <QString>
#include <QStringList>

namespace orvane {

// An initialisation file of sections and "key=value" lines. Section and key names match
// without regard to letter case. Every read and every write works on the current content of
// the file on disk, so a value written by one caller is seen by the next read. A write
// replaces the file atomically (the old file stays whole when it fails) and ends every line in
// CR LF. Runs on the user-interface thread.
class IniFile {
public:
    explicit IniFile(QString path);

    const QString& FileName() const { return path_; }

    // Text of the key, at most 2047 characters; the default when the key is missing.
    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // Decimal, or hexadecimal after "$" or (for more than two characters) "0x"/"0X"; the
    // default when the key is missing or its value is not an integer.
    int ReadInteger(const QString& section, const QString& key, int def) const;
    // Any non-zero integer is true; the default when missing or not an integer.
    bool ReadBool(const QString& section, const QString& key, bool def) const;

    // Each returns false when the file could not be written.
    bool WriteString(const QString& section, const QString& key, const QString& value);
    bool WriteInteger(const QString& section, const QString& key, int value);
    bool WriteBool(const QString& section, const QString& key, bool value);
    // Removes the key from the section, and the section's header once it holds no key. True
    // when the key is gone (a missing key leaves the file untouched); false when the file could
    // not be written.
    bool EraseKey(const QString& section, const QString& key);

    // The integer reading rule, exposed for its own tests: true and the value when text is an
    // integer.
    static bool ParseInteger(const QString& text, int& value);

private:
    QString path_;
};

}  // namespace orvane
