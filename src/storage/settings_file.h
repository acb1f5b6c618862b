#pragma once

#include <QList>
#include <QString>

namespace dravik {

// One key's value to write.
struct SettingsEntry {
    QString section;
    QString key;
    QString value;
};

// A settings file of "[section]" lines and "key=value" lines. Section and key names match without
// regard to letter case. Opening touches no file; every write replaces the whole file at once
// (old file or new file on disk, never a mix). Lines a person added by hand (comments, blanks
// around names and values, repeated sections or keys) are read as meant and kept on writing.
class SettingsFile {
public:
    explicit SettingsFile(QString path);

    const QString& path() const { return path_; }

    // The value, at most 2047 characters; the default when the file, section or key is missing.
    // A key present with an empty value gives the empty text, not the default.
    QString readText(const QString& section, const QString& key, const QString& fallback) const;
    // readText with an empty default, converted by the integer rule; the default when no integer.
    qint32 readInteger(const QString& section, const QString& key, qint32 fallback) const;
    // Whether the section holds the key, whatever its value; false when the file cannot be read.
    bool holds(const QString& section, const QString& key) const;

    // Replace the key's value, or add the key at the end of its section, or add section and key at
    // the end of the file (created when missing). Raises "Unable to write to <path>", also when
    // the value holds a line break or NUL (it would turn into lines of its own), when the section or
    // key name would not read back as itself (blanks around it, a section name holding "]", a key
    // name holding "=" or starting with ";" or "["), or when the existing file cannot be read
    // (writing it back would lose what it holds).
    void writeText(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, qint32 value);
    // Writes the keys in order, as that many writeText calls would, but replaces the file once: a
    // failure leaves the old file whole instead of some keys new and some old.
    void writeAll(const QList<SettingsEntry>& entries);

private:
    QString path_;
};

} // namespace dravik
