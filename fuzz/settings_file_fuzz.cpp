// Settings files from arbitrary content and arbitrary writes: a read after a write sees the value
// written, a write changes one line or adds lines and leaves every other line as it was, and every
// other key's value too, a failed write leaves the file byte for byte, and writeAll ends where the
// same writeText calls end.
#include "fuzz_support.h"
#include "storage/error.h"
#include "storage/integer_text.h"
#include "storage/record_file.h"
#include "storage/settings_file.h"

#include <QFile>
#include <QTemporaryDir>

using namespace dravik;
using dravik::fuzz::ByteReader;
using dravik::fuzz::isValidUtf8;

namespace {

// The characters that matter to the file format, a few that case folding or trimming treat
// specially, and Chinese.
const char16_t kAlphabet[] = {u'a', u'b',  u'K',  u'k',      u'\u212A', u'0',  u'1',     u' ',  u'\t',
                              u'=', u'[',  u']',  u';',      u'#',      u'\r', u'\n',    u'\0', u'"',
                              u'.', u'南', u'粤', u'\u3000', u'\uFEFF', u'ß',  u'\u00A0'};
constexpr int kAlphabetSize = int(sizeof(kAlphabet) / sizeof(kAlphabet[0]));

QString takeText(ByteReader& in) {
    const uint8_t length = in.byte();
    if (length == 0xFF)
        return QString(3000, QLatin1Char('v')); // longer than a read gives back
    QString text;
    for (int i = 0; i < length % 10; ++i) {
        const uint8_t pick = in.byte();
        text += pick < 0xF0 ? QChar(kAlphabet[pick % kAlphabetSize]) : QChar(in.word());
    }
    return text;
}

SettingsEntry takeEntry(ByteReader& in) {
    SettingsEntry entry;
    entry.section = takeText(in);
    entry.key = takeText(in);
    entry.value = takeText(in);
    return entry;
}

bool holdsBreak(const QString& text) {
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')) ||
           text.contains(QChar(u'\0'));
}

bool isPlain(const QString& text) {
    return text == text.trimmed() && !holdsBreak(text) && text.isValidUtf16();
}

// Names that the "[section]" and "key=value" lines carry as they are; a write of any other name
// must be refused, or it would store a key that reads as something else.
bool namesFit(const SettingsEntry& entry) {
    return entry.section == entry.section.trimmed() && !holdsBreak(entry.section) &&
           !entry.section.contains(QLatin1Char(']')) && entry.key == entry.key.trimmed() &&
           !holdsBreak(entry.key) && !entry.key.contains(QLatin1Char('=')) &&
           !entry.key.startsWith(QLatin1Char(';')) && !entry.key.startsWith(QLatin1Char('['));
}

// Entries whose names and value the lines carry unchanged, so that what was written must read back
// exactly.
bool readsBack(const SettingsEntry& entry) {
    return namesFit(entry) && entry.section.isValidUtf16() && entry.key.isValidUtf16() &&
           isPlain(entry.value);
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

std::optional<QByteArray> fileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

void setFileBytes(const QString& path, const std::optional<QByteArray>& bytes) {
    QFile::remove(path);
    if (!bytes)
        return;
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly) && file.write(*bytes) == bytes->size());
}

// The file's lines with nothing cut at a NUL, as a settings file keeps them.
QStringList linesOf(const std::optional<QByteArray>& bytes) {
    if (!bytes)
        return {};
    const QString text = decodeText(*bytes).text;
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\r') && text[i] != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (text[i] == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

// True when `after` is `before` with lines added, none removed or changed.
bool onlyAdded(const QStringList& before, const QStringList& after) {
    qsizetype i = 0;
    for (const QString& line : after) {
        if (i < before.size() && line == before[i])
            ++i;
    }
    return i == before.size();
}

// One write may change the line of its key, or add its key (and maybe its section); nothing else.
bool oneWriteChange(const QStringList& before, const QStringList& after) {
    if (after.size() == before.size()) {
        int changed = 0;
        for (qsizetype i = 0; i < before.size(); ++i)
            changed += before[i] != after[i];
        return changed <= 1;
    }
    return (after.size() == before.size() + 1 || after.size() == before.size() + 2) &&
           onlyAdded(before, after);
}

bool unreadable(const std::optional<QByteArray>& bytes) {
    return bytes && bytes->startsWith("\xEF\xBB\xBF") && !isValidUtf8(bytes->mid(3));
}

void checkReadBack(const SettingsFile& file, const SettingsEntry& entry) {
    if (!readsBack(entry))
        return;
    FUZZ_CHECK(file.readText(entry.section, entry.key, QStringLiteral("?")) == entry.value.left(2047));
}

// Writes through `file` and checks what a single write must do. Returns whether it succeeded.
bool checkedWrite(SettingsFile& file, const SettingsEntry& entry, bool asInteger, qint32 number) {
    const std::optional<QByteArray> before = fileBytes(file.path());
    const bool mustFail = unreadable(before) || !namesFit(entry) || (!asInteger && holdsBreak(entry.value));
    try {
        if (asInteger)
            file.writeInteger(entry.section, entry.key, number);
        else
            file.writeText(entry.section, entry.key, entry.value);
    } catch (const Error& error) {
        FUZZ_CHECK(mustFail);
        FUZZ_CHECK(error.message() == QStringLiteral("Unable to write to ") + file.path());
        FUZZ_CHECK(fileBytes(file.path()) == before);
        return false;
    }
    FUZZ_CHECK(!mustFail);
    const std::optional<QByteArray> after = fileBytes(file.path());
    FUZZ_CHECK(after.has_value());
    FUZZ_CHECK(oneWriteChange(linesOf(before), linesOf(after)));
    if (asInteger) {
        const SettingsEntry written{entry.section, entry.key, QString::number(number)};
        checkReadBack(file, written);
        if (readsBack(written))
            FUZZ_CHECK(file.readInteger(entry.section, entry.key, number ^ 1) == number);
    } else {
        checkReadBack(file, entry);
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir folder;
    FUZZ_CHECK(folder.isValid());
    SettingsFile file(folder.filePath(QStringLiteral("fuzz.ini")));
    // Goes through single writes where `file` goes through writeAll, to compare the two.
    SettingsFile shadow(folder.filePath(QStringLiteral("shadow.ini")));

    ByteReader in(data, size);
    const uint8_t flags = in.byte();
    std::optional<QByteArray> initial;
    if (flags & 1)
        initial = in.bytes(in.word() % 2048);
    setFileBytes(file.path(), initial);
    setFileBytes(shadow.path(), initial);
    // What the writes through `file` stored, in order.
    QList<SettingsEntry> written;

    for (int op = 0; op < 12 && !in.empty(); ++op) {
        switch (in.byte() % 4) {
        case 0: {
            const SettingsEntry entry = takeEntry(in);
            if (checkedWrite(file, entry, false, 0))
                written.append(entry);
            break;
        }
        case 1: {
            SettingsEntry entry = takeEntry(in);
            const qint32 number = qint32(in.quad());
            if (checkedWrite(file, entry, true, number)) {
                entry.value = QString::number(number);
                written.append(entry);
            }
            break;
        }
        case 2: {
            QList<SettingsEntry> entries;
            const int count = in.byte() % 4 + 1;
            for (int i = 0; i < count; ++i)
                entries.append(takeEntry(in));
            const std::optional<QByteArray> before = fileBytes(file.path());
            bool failed = false;
            try {
                file.writeAll(entries);
            } catch (const Error&) {
                failed = true;
                FUZZ_CHECK(fileBytes(file.path()) == before);
            }
            bool shadowFailed = false;
            for (const SettingsEntry& entry : std::as_const(entries)) {
                if (!checkedWrite(shadow, entry, false, 0)) {
                    shadowFailed = true;
                    break;
                }
            }
            FUZZ_CHECK(failed == shadowFailed);
            if (!failed) {
                FUZZ_CHECK(fileBytes(file.path()) == fileBytes(shadow.path()));
                written += entries;
            }
            setFileBytes(shadow.path(), fileBytes(file.path()));
            continue;
        }
        case 3: {
            const SettingsEntry entry = takeEntry(in);
            const QString text = file.readText(entry.section, entry.key, QStringLiteral("\x01"));
            FUZZ_CHECK(text == QStringLiteral("\x01") || text.size() <= 2047);
            const qint32 fallback = qint32(in.quad());
            FUZZ_CHECK(file.readInteger(entry.section, entry.key, fallback) ==
                       parseInteger(file.readText(entry.section, entry.key, QString())).value_or(fallback));
            break;
        }
        }
        setFileBytes(shadow.path(), fileBytes(file.path()));
    }

    // The last write of each key is the one that counts, whatever was written after it.
    for (qsizetype i = 0; i < written.size(); ++i) {
        bool overwritten = false;
        for (qsizetype j = i + 1; j < written.size(); ++j)
            overwritten |=
                sameName(written[i].section, written[j].section) && sameName(written[i].key, written[j].key);
        if (!overwritten)
            checkReadBack(file, written[i]);
    }
    return 0;
}
