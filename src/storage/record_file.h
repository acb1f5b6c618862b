#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace dravik {

// The encoding a list of lines carries from the file it was read from to the file it is written to.
// A file without a byte-order mark is UTF-8 when its bytes are valid UTF-8, else GB18030 (archives
// brought from Chinese Windows machines); new files are UTF-8 without a mark.
enum class TextEncoding { Utf8, Gb18030, Utf8Bom, Utf16Le, Utf16Be };

struct RecordLines {
    QStringList lines;
    TextEncoding encoding = TextEncoding::Utf8;
};

// Calls `visit(line)` for every line of the text, in order: CR LF, a lone CR and LF each end a line;
// a line end at the very end starts no further line. The lines are views into the text.
template <typename Visit> void forEachLine(QStringView text, Visit visit) {
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c > u'\r' || (c != u'\r' && c != u'\n'))
            continue;
        visit(text.sliced(start, i - start));
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        visit(text.sliced(start));
}

// The text up to its first NUL: a NUL ends the text of a record file.
QStringView textBeforeNul(QStringView text);

// Splits text into lines by the rule of forEachLine; a NUL ends the text.
QStringList splitLines(QStringView text);
// The same line ends without the NUL rule, for text where every character is kept.
QStringList splitLineEnds(QStringView text);

// Bytes of a text file to text and back, by the same mark and encoding rules as record files. Settings
// files use these directly: they must keep every character, also those after a NUL.
struct DecodedText {
    QString text;
    TextEncoding encoding = TextEncoding::Utf8;
};
DecodedText decodeText(const QByteArray& bytes);
QByteArray encodeText(const QString& text, TextEncoding encoding);

// The text of a record file's bytes, up to the NUL that ends it, and its encoding.
DecodedText decodeRecordText(const QByteArray& bytes);

// Bytes of a record file to lines and back. Decoding raises "No mapping for the Unicode character
// exists in the target multi-byte code page" for invalid UTF-8 after a UTF-8 mark.
RecordLines decodeRecordBytes(const QByteArray& bytes);
QByteArray encodeRecordLines(const QStringList& lines, TextEncoding encoding);

// Reads a record file; nothing when no file is there. Raises "Cannot open file "<path>". <reason>".
std::optional<RecordLines> readRecordFile(const QString& path);
// The same as text, up to the NUL that ends it, line ends as they are.
std::optional<DecodedText> readRecordText(const QString& path);

// The latest lines of a record file and how many lines it holds in all: what an analysis needs. A long
// history is counted in its bytes, and only the kept lines are decoded and made into strings.
struct RecordTail {
    qsizetype lineCount = 0;
    QStringList lines; // the last `keep` lines, or all of them when there are fewer
};

// Gives the same lines, encoding checks and errors as readRecordFile, keeping only the last `keep`.
std::optional<RecordTail> readRecordTail(const QString& path, qsizetype keep);

// Replaces the file's content with the lines, each followed by CR LF, in the given encoding. Raises
// "Cannot create file "<path>". <reason>" and then leaves the old file as it was.
void writeRecordFile(const QString& path, const QStringList& lines, TextEncoding encoding);

} // namespace dravik
