#include "storage/settings_file.h"

#include "storage/data_folder.h"
#include "storage/error.h"
#include "storage/integer_text.h"
#include "storage/record_file.h"
#include "storage/whole_file.h"

#include <QFile>
#include <QStringList>
#include <optional>

namespace dravik {

namespace {

// Longest value a read gives back; longer values are cut, as the platform's settings reader did.
constexpr qsizetype kMaxValue = 2047;

// The file as lines, with the encoding to write it back in. Unlike record files nothing ends at a
// NUL: every character a person put there is written back.
struct SettingsText {
    QStringList lines;
    TextEncoding encoding = TextEncoding::Utf8;
};

enum class LineKind { Section, Key, Other };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    QString name;
    QString value;
};

// Reads a line the way a person writing it by hand would mean it: blanks around names and values do
// not count, ";" starts a comment, a section name ends at "]".
ParsedLine parseLine(const QString& line) {
    ParsedLine parsed;
    const QString text = line.trimmed();
    if (text.startsWith(QLatin1Char(';')))
        return parsed;
    if (text.startsWith(QLatin1Char('['))) {
        const qsizetype close = text.indexOf(QLatin1Char(']'));
        parsed.kind = LineKind::Section;
        parsed.name = (close < 0 ? text.mid(1) : text.mid(1, close - 1)).trimmed();
        return parsed;
    }
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    if (equals < 0)
        return parsed;
    parsed.kind = LineKind::Key;
    parsed.name = text.left(equals).trimmed();
    parsed.value = text.mid(equals + 1).trimmed();
    return parsed;
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Where a section lies: its header line and the line after its last line. The first of repeated
// sections is the one read and written.
struct SectionSpan {
    qsizetype header = -1;
    qsizetype end = -1;
};

std::optional<SectionSpan> findSection(const QStringList& lines, const QString& section) {
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const ParsedLine parsed = parseLine(lines[i]);
        if (parsed.kind != LineKind::Section || !sameName(parsed.name, section))
            continue;
        qsizetype end = i + 1;
        while (end < lines.size() && parseLine(lines[end]).kind != LineKind::Section)
            ++end;
        return SectionSpan{i, end};
    }
    return std::nullopt;
}

std::optional<qsizetype> findKey(const QStringList& lines, const SectionSpan& span, const QString& key) {
    for (qsizetype i = span.header + 1; i < span.end; ++i) {
        const ParsedLine parsed = parseLine(lines[i]);
        if (parsed.kind == LineKind::Key && sameName(parsed.name, key))
            return i;
    }
    return std::nullopt;
}

// Nothing when no file is there. Raises when a file is there but cannot be read or decoded.
std::optional<SettingsText> readSettingsText(const QString& path) {
    QFile file(path);
    if (!fileExists(path))
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly))
        throw Error(file.errorString());
    const DecodedText decoded = decodeText(file.readAll());
    return SettingsText{splitLineEnds(decoded.text), decoded.encoding};
}

bool holdsLineBreak(const QString& text) {
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')) ||
           text.contains(QChar(u'\0'));
}

// Whether "[section]" and "key=" read back as that section and that key. Other names would store a
// key that no read finds; a key line that reads as a section ("[b]=") would also hide a later
// section of that name, keys already stored in it included.
bool linesCarry(const SettingsEntry& entry) {
    const ParsedLine section = parseLine(QLatin1Char('[') + entry.section + QLatin1Char(']'));
    const ParsedLine key = parseLine(entry.key + QLatin1Char('='));
    return section.kind == LineKind::Section && section.name == entry.section && key.kind == LineKind::Key &&
           key.name == entry.key;
}

QString fileContent(const QStringList& lines) {
    QString content;
    for (const QString& line : lines) {
        content += line;
        content += QLatin1String("\r\n");
    }
    return content;
}

void applyEntry(QStringList& lines, const SettingsEntry& entry) {
    const std::optional<SectionSpan> span = findSection(lines, entry.section);
    if (!span) {
        lines.append(QLatin1Char('[') + entry.section + QLatin1Char(']'));
        lines.append(entry.key + QLatin1Char('=') + entry.value);
        return;
    }
    if (const std::optional<qsizetype> at = findKey(lines, *span, entry.key)) {
        // The key keeps the spelling it has in the file; only its value changes.
        lines[*at] = parseLine(lines[*at]).name + QLatin1Char('=') + entry.value;
        return;
    }
    // After the section's last key, so that comments or blank lines a person put between sections
    // stay where they were.
    qsizetype insertAt = span->header + 1;
    for (qsizetype i = span->header + 1; i < span->end; ++i) {
        if (parseLine(lines[i]).kind == LineKind::Key)
            insertAt = i + 1;
    }
    lines.insert(insertAt, entry.key + QLatin1Char('=') + entry.value);
}

} // namespace

SettingsFile::SettingsFile(QString path) : path_(std::move(path)) {}

namespace {

// The key's value as stored; nothing when the file, the section or the key is missing. A file that
// cannot be read holds nothing readable: reading never reports.
std::optional<QString> storedValue(const QString& path, const QString& section, const QString& key) {
    std::optional<SettingsText> text;
    try {
        text = readSettingsText(path);
    } catch (const Error&) {
        return std::nullopt;
    }
    if (!text)
        return std::nullopt;
    const std::optional<SectionSpan> span = findSection(text->lines, section);
    if (!span)
        return std::nullopt;
    const std::optional<qsizetype> at = findKey(text->lines, *span, key);
    if (!at)
        return std::nullopt;
    return parseLine(text->lines[*at]).value;
}

} // namespace

QString SettingsFile::readText(const QString& section, const QString& key, const QString& fallback) const {
    const std::optional<QString> value = storedValue(path_, section, key);
    return value ? value->left(kMaxValue) : fallback;
}

qint32 SettingsFile::readInteger(const QString& section, const QString& key, qint32 fallback) const {
    return parseInteger(readText(section, key, QString())).value_or(fallback);
}

bool SettingsFile::holds(const QString& section, const QString& key) const {
    return storedValue(path_, section, key).has_value();
}

void SettingsFile::writeText(const QString& section, const QString& key, const QString& value) {
    writeAll({SettingsEntry{section, key, value}});
}

void SettingsFile::writeInteger(const QString& section, const QString& key, qint32 value) {
    writeText(section, key, QString::number(value));
}

void SettingsFile::writeAll(const QList<SettingsEntry>& entries) {
    const Error failure(QStringLiteral("Unable to write to %1").arg(path_));
    for (const SettingsEntry& entry : entries) {
        if (holdsLineBreak(entry.section) || holdsLineBreak(entry.key) || holdsLineBreak(entry.value) ||
            !linesCarry(entry))
            throw failure;
    }

    SettingsText text;
    try {
        if (std::optional<SettingsText> existing = readSettingsText(path_))
            text = std::move(*existing);
    } catch (const Error&) {
        throw failure;
    }
    for (const SettingsEntry& entry : entries) {
        applyEntry(text.lines, entry);
        // Written key by key, a GB18030 file that goes out as UTF-8 after one key (its last bytes
        // invalid in UTF-8 replaced) is read as UTF-8 by the next and stays UTF-8; so here too.
        if (text.encoding == TextEncoding::Gb18030)
            text.encoding = encodingAfterWriting(fileContent(text.lines), text.encoding);
    }

    QString reason;
    if (!replaceWholeFile(path_, encodeText(fileContent(text.lines), text.encoding), &reason))
        throw failure;
}

} // namespace dravik
