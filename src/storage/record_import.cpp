#include "storage/record_import.h"

#include "storage/error.h"
#include "storage/record_order.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace dravik {

namespace {

inline bool isDigit(char c) {
    return uchar(c - '0') < 10;
}

bool allDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), isDigit);
}

// The length of the separator that begins at `at`, or 0. Blanks include the no-break and ideographic
// spaces, and commas the full-width one, that text copied from Chinese web pages carries between its
// columns.
size_t wideSeparatorAt(std::string_view line, size_t at) {
    switch (uchar(line[at])) {
    case 0xC2:
        return line.substr(at, 2) == "\xC2\xA0" ? 2 : 0;
    case 0xE3:
        return line.substr(at, 3) == "\xE3\x80\x80" ? 3 : 0;
    case 0xEF:
        return line.substr(at, 3) == "\xEF\xBC\x8C" ? 3 : 0;
    default:
        return 0;
    }
}

// Called for every byte of a field: the ASCII bytes, nearly all of them, are told apart inline.
inline size_t separatorAt(std::string_view line, size_t at) {
    const char c = line[at];
    if (c == ' ' || c == '\t' || c == ',')
        return 1;
    return uchar(c) < 0x80 ? 0 : wideSeparatorAt(line, at);
}

// The length of the separator that ends right before `end`, or 0. In UTF-8 a character is known
// from its last bytes too, since a lead byte is never a continuation byte.
size_t separatorBefore(std::string_view line, size_t end) {
    if (end == 0)
        return 0;
    switch (uchar(line[end - 1])) {
    case ' ':
    case '\t':
    case ',':
        return 1;
    case 0xA0:
        return end >= 2 && line.substr(end - 2, 2) == "\xC2\xA0" ? 2 : 0;
    case 0x80:
        return end >= 3 && line.substr(end - 3, 3) == "\xE3\x80\x80" ? 3 : 0;
    case 0x8C:
        return end >= 3 && line.substr(end - 3, 3) == "\xEF\xBC\x8C" ? 3 : 0;
    default:
        return 0;
    }
}

struct Field {
    size_t begin = 0;
    size_t end = 0; // begin == end: no field is left
    bool digits = true;
};

// The first field at or after `from`, past the separators before it. Kept in locals and digits tested
// first: this runs for every byte of the fields that decide.
inline Field nextField(std::string_view line, size_t from) {
    const size_t size = line.size();
    size_t begin = from;
    while (begin < size) {
        const size_t separator = separatorAt(line, begin);
        if (separator == 0)
            break;
        begin += separator;
    }
    size_t end = begin;
    bool digits = true;
    for (; end < size; ++end) {
        if (isDigit(line[end]))
            continue;
        if (separatorAt(line, end) != 0)
            break;
        digits = false;
    }
    return {begin, end, digits};
}

std::string_view textOf(std::string_view line, const Field& field) {
    return line.substr(field.begin, field.end - field.begin);
}

// The value of a field of digits, or nothing when it does not fit.
std::optional<quint64> digitsValue(std::string_view digits) {
    constexpr quint64 kMax = std::numeric_limits<quint64>::max();
    quint64 value = 0;
    for (const char c : digits) {
        const quint64 digit = quint64(c - '0');
        if (value > (kMax - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

// "PERIOD.N1 N2 … NK": a period of digits and `count` numbers of digits, one blank between them, the
// form in which records of several numbers are written.
bool isRecordOfNumbers(std::string_view line, int count) {
    const size_t dot = line.find('.');
    if (dot == std::string_view::npos || !allDigits(line.substr(0, dot)))
        return false;
    size_t at = dot + 1;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            if (at == line.size() || line[at] != ' ')
                return false;
            ++at;
        }
        const size_t begin = at;
        while (at < line.size() && isDigit(line[at]))
            ++at;
        if (at == begin)
            return false;
    }
    return at == line.size();
}

// The field of digits that ends at `end` or before it, past the separators there, and begins after
// `floor`, the end of the period; begin == end when there is none. The period ends at a separator, so
// a field after it begins after one.
Field digitFieldBefore(std::string_view line, size_t end, size_t floor) {
    while (end > floor) {
        const size_t separator = separatorBefore(line, end);
        if (separator == 0)
            break;
        end -= separator;
    }
    size_t begin = end;
    while (begin > floor && isDigit(line[begin - 1]))
        --begin;
    if (begin == end || separatorBefore(line, begin) == 0)
        return {end, end, false};
    return {begin, end, true};
}

// The `count` fields from `from` on, all of them digits, joined by one blank into `number`.
bool joinDigitFields(std::string_view line, size_t from, int count, std::string& number) {
    number.clear();
    Field field{from, from, true};
    for (int i = 0; i < count; ++i) {
        field = nextField(line, field.end);
        if (field.begin == field.end || !field.digits)
            return false;
        if (i > 0)
            number += ' ';
        number.append(textOf(line, field));
    }
    return true;
}

enum class LineRead { Record, Nothing, Rejected };

// Only the fields that decide are looked at: a history line is read from its two ends, as the last
// column is the usual choice and the columns between are many. `number` is room for a number of
// several fields, kept from line to line.
LineRead readLine(std::string_view line, NumberColumn column, int numbersPerDraw, ImportedRecords& records,
                  std::string& number) {
    if (numbersPerDraw > 1 && isRecordOfNumbers(line, numbersPerDraw)) {
        records.append(line);
        return LineRead::Record;
    }
    const Field period = nextField(line, 0);
    if (period.begin == period.end)
        return LineRead::Nothing;
    if (period.begin == 0 && period.end == line.size()) {
        // No separator anywhere: the record form, or a line without a number. Where a draw holds
        // several numbers, such a record holds another count of them.
        const size_t dot = line.find('.');
        if (numbersPerDraw > 1 || dot == std::string_view::npos || !allDigits(line.substr(0, dot)))
            return LineRead::Rejected;
        records.append(line);
        return LineRead::Record;
    }
    if (!period.digits)
        return LineRead::Rejected;

    switch (column.kind) {
    case NumberColumn::Kind::Last: {
        const Field last = digitFieldBefore(line, line.size(), period.end);
        if (last.begin == last.end)
            return LineRead::Rejected;
        records.appendDraw(textOf(line, period), textOf(line, last));
        return LineRead::Record;
    }
    case NumberColumn::Kind::Field: {
        if (column.field < 2)
            return LineRead::Rejected;
        Field field = period;
        for (int i = 2; i <= column.field; ++i) {
            field = nextField(line, field.end);
            if (field.begin == field.end)
                return LineRead::Rejected;
        }
        if (!field.digits)
            return LineRead::Rejected;
        records.appendDraw(textOf(line, period), textOf(line, field));
        return LineRead::Record;
    }
    case NumberColumn::Kind::SumAfterFirst: {
        quint64 total = 0;
        bool any = false;
        for (Field field = nextField(line, period.end); field.begin != field.end;
             field = nextField(line, field.end)) {
            if (!field.digits)
                continue;
            const std::optional<quint64> value = digitsValue(textOf(line, field));
            if (!value || total > std::numeric_limits<quint64>::max() - *value)
                return LineRead::Rejected;
            total += *value;
            any = true;
        }
        if (!any)
            return LineRead::Rejected;
        char sum[24];
        const std::to_chars_result written = std::to_chars(std::begin(sum), std::end(sum), total);
        records.appendDraw(textOf(line, period), std::string_view(sum, size_t(written.ptr - sum)));
        return LineRead::Record;
    }
    case NumberColumn::Kind::FieldsFromSecond:
        if (column.count < 1 || !joinDigitFields(line, period.end, column.count, number))
            return LineRead::Rejected;
        records.appendDraw(textOf(line, period), number);
        return LineRead::Record;
    case NumberColumn::Kind::LastFields: {
        if (column.count < 1)
            return LineRead::Rejected;
        Field first{line.size(), line.size(), true};
        for (int i = 0; i < column.count; ++i) {
            first = digitFieldBefore(line, first.begin, period.end);
            if (first.begin == first.end)
                return LineRead::Rejected;
        }
        if (!joinDigitFields(line, first.begin, column.count, number))
            return LineRead::Rejected;
        records.appendDraw(textOf(line, period), number);
        return LineRead::Record;
    }
    }
    return LineRead::Rejected;
}

// The merge works on lines viewed where they are: in a UTF-8 record file's own bytes and the imported
// records' buffer, or for the rarer UTF-16 and GB18030 files in their decoded text.
template <typename Char> using Line = std::basic_string_view<Char>;
template <typename Char> using Lines = std::vector<Line<Char>>;

// The period is compared as the code units before the first ".": lines without one have none.
template <typename Char> Line<Char> periodIn(Line<Char> line) {
    const size_t dot = line.find(Char('.'));
    return dot == Line<Char>::npos ? Line<Char>() : line.substr(0, dot);
}

template <typename Char> struct Keyed {
    Line<Char> period;
    size_t index;
};

// The lines' periods in order (any fixed order serves: they are only matched), lines of the same
// period in list order. Record files come sorted and histories from web pages newest first: both
// take one pass.
template <typename Char> std::vector<Keyed<Char>> byPeriod(const Lines<Char>& lines) {
    std::vector<Keyed<Char>> keyed;
    keyed.reserve(lines.size());
    for (size_t i = 0; i < lines.size(); ++i)
        keyed.push_back({periodIn(lines[i]), i});
    const auto less = [](const Keyed<Char>& a, const Keyed<Char>& b) { return a.period < b.period; };
    if (std::is_sorted(keyed.cbegin(), keyed.cend(), less))
        return keyed;
    const auto notDescending = [&](const Keyed<Char>& a, const Keyed<Char>& b) { return !less(b, a); };
    if (std::adjacent_find(keyed.cbegin(), keyed.cend(), notDescending) == keyed.cend()) {
        std::reverse(keyed.begin(), keyed.end());
        return keyed;
    }
    std::stable_sort(keyed.begin(), keyed.end(), less);
    return keyed;
}

template <typename Char>
Lines<Char> mergeLines(const Lines<Char>& archive, const Lines<Char>& records, ImportCounts& counts) {
    const std::vector<Keyed<Char>> present = byPeriod(archive);
    const std::vector<Keyed<Char>> imported = byPeriod(records);
    Lines<Char> kept = archive;
    Lines<Char> added;
    added.reserve(records.size());
    auto at = present.cbegin();
    for (auto run = imported.cbegin(); run != imported.cend();) {
        // Of the records of one period the last one wins; of the lines, the first one is replaced.
        auto last = run;
        while (last + 1 != imported.cend() && last[1].period == run->period)
            ++last;
        const Line<Char> record = records[last->index];
        while (at != present.cend() && at->period < run->period)
            ++at;
        if (at != present.cend() && at->period == run->period) {
            if (archive[at->index] == record) {
                ++counts.same;
            } else {
                kept[at->index] = record;
                ++counts.replaced;
            }
        } else {
            added.push_back(record);
        }
        run = last + 1;
    }
    counts.added = qsizetype(added.size());
    return mergeInRecordOrder(std::move(kept), std::move(added));
}

Lines<char> linesOf(QByteArrayView text) {
    Lines<char> lines;
    forEachByteLine(text,
                    [&lines](QByteArrayView line) { lines.emplace_back(line.data(), size_t(line.size())); });
    return lines;
}

Lines<char16_t> linesOf(QStringView text) {
    Lines<char16_t> lines;
    forEachLine(text, [&lines](QStringView line) { lines.emplace_back(line.utf16(), size_t(line.size())); });
    return lines;
}

// The lines, each followed by CR LF.
template <typename Text, typename Char> Text joinLines(const Lines<Char>& lines) {
    qsizetype size = 0;
    for (const Line<Char> line : lines)
        size += qsizetype(line.size()) + 2;
    Text text(size, Qt::Uninitialized);
    Char* out = reinterpret_cast<Char*>(text.data());
    for (const Line<Char> line : lines) {
        out = std::copy(line.cbegin(), line.cend(), out);
        *out++ = Char('\r');
        *out++ = Char('\n');
    }
    return text;
}

} // namespace

QStringList firstWrittenRecords(const ImportedRecords& records, qsizetype count) {
    std::unordered_map<std::string_view, qsizetype> lastOfPeriod;
    lastOfPeriod.reserve(size_t(records.size()));
    for (qsizetype i = 0; i < records.size(); ++i)
        lastOfPeriod[records.periodAt(i)] = i;
    QStringList written;
    for (qsizetype i = 0; i < records.size() && written.size() < count; ++i) {
        if (lastOfPeriod[records.periodAt(i)] == i)
            written.append(records.at(i));
    }
    return written;
}

QString ImportedRecords::at(qsizetype i) const {
    const std::string_view line = utf8At(i);
    return QString::fromUtf8(line.data(), qsizetype(line.size()));
}

QStringList ImportedRecords::toStringList() const {
    QStringList lines;
    lines.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        lines.append(at(i));
    return lines;
}

void ImportedRecords::reserve(qsizetype lines, qsizetype bytes) {
    entries_.reserve(size_t(lines));
    text_.reserve(size_t(bytes));
}

void ImportedRecords::append(std::string_view line) {
    const size_t dot = line.find('.');
    entries_.push_back({qsizetype(text_.size()), qsizetype(dot == std::string_view::npos ? 0 : dot)});
    text_.append(line).append(1, '\n');
}

// One append per record: a long import appends a hundred thousand of them.
void ImportedRecords::appendDraw(std::string_view period, std::string_view number) {
    entries_.push_back({qsizetype(text_.size()), qsizetype(period.size())});
    const size_t size = period.size() + number.size() + 2;
    char line[64];
    if (size > sizeof line) {
        text_.append(period).append(1, '.').append(number).append(1, '\n');
        return;
    }
    char* out = line;
    for (const char c : period)
        *out++ = c;
    *out++ = '.';
    for (const char c : number)
        *out++ = c;
    *out = '\n';
    text_.append(line, size);
}

QString NumberColumn::caption() const {
    switch (kind) {
    case Kind::Last:
        return QStringLiteral("最后一列");
    case Kind::Field:
        return QStringLiteral("第%1列").arg(field);
    case Kind::SumAfterFirst:
        return QStringLiteral("第2列起各列之和");
    case Kind::FieldsFromSecond:
        return QStringLiteral("第2列起%1列").arg(count);
    case Kind::LastFields:
        return QStringLiteral("最后%1列").arg(count);
    }
    return {};
}

QList<NumberColumn> numberColumnChoices(int numbersPerDraw) {
    QList<NumberColumn> choices;
    // A player of a game with several numbers a draw takes them all, and most histories list them
    // right after the period: the choice for that comes first, where the combo opens.
    if (numbersPerDraw > 1) {
        choices.append({NumberColumn::Kind::FieldsFromSecond, 0, numbersPerDraw});
        choices.append({NumberColumn::Kind::LastFields, 0, numbersPerDraw});
    }
    choices.append({NumberColumn::Kind::Last, 0});
    for (int field = 2; field <= 8; ++field)
        choices.append({NumberColumn::Kind::Field, field});
    choices.append({NumberColumn::Kind::SumAfterFirst, 0});
    return choices;
}

qsizetype defaultNumberColumnChoice(int numbersPerDraw) {
    const NumberColumn::Kind kind =
        numbersPerDraw > 1 ? NumberColumn::Kind::FieldsFromSecond : NumberColumn::Kind::Last;
    const QList<NumberColumn> choices = numberColumnChoices(numbersPerDraw);
    return std::find_if(choices.cbegin(), choices.cend(),
                        [kind](const NumberColumn& choice) { return choice.kind == kind; }) -
           choices.cbegin();
}

ParsedRecords parseImportText(QByteArrayView utf8, NumberColumn column, int numbersPerDraw) {
    ParsedRecords parsed;
    const qsizetype nul = utf8.indexOf('\0');
    if (nul >= 0)
        utf8 = utf8.first(nul);
    // A long history would otherwise be copied over and over as the records grow. A record is at
    // most its line and a line end, and memory reserved but not written costs next to nothing.
    qsizetype lineEnds = 0;
    forEachLineEndByte(utf8.data(), utf8.size(), [&lineEnds](qsizetype) { ++lineEnds; });
    parsed.records.reserve(lineEnds + 1, utf8.size() + lineEnds + 1);
    qsizetype lineNumber = 0;
    std::string number;
    forEachByteLine(utf8, [&](QByteArrayView line) {
        ++lineNumber;
        if (readLine(std::string_view(line.data(), size_t(line.size())), column, numbersPerDraw,
                     parsed.records, number) == LineRead::Rejected)
            parsed.rejected.append({lineNumber, QString::fromUtf8(line)});
    });
    return parsed;
}

ParsedRecords parseImportText(QStringView text, NumberColumn column, int numbersPerDraw) {
    return parseImportText(textBeforeNul(text).toUtf8(), column, numbersPerDraw);
}

QByteArray readImportText(const QString& path) {
    const std::optional<QByteArray> bytes = readRecordBytes(path);
    // Gone since it was chosen: reported as the failed open it is.
    if (!bytes)
        throw Error(QStringLiteral("Cannot open file \"%1\". No such file or directory").arg(path));
    const std::optional<ByteText> text = byteRecordText(*bytes);
    if (text && text->encoding != TextEncoding::Gb18030)
        return text->text.size() == bytes->size() ? *bytes : text->text.toByteArray();
    return decodeRecordText(*bytes).text.toUtf8();
}

MergedRecordFile mergeIntoRecordFile(const std::optional<QByteArray>& file, const ImportedRecords& records,
                                     TextEncoding newFileEncoding) {
    MergedRecordFile merged;
    const std::optional<ByteText> utf8 = file ? byteRecordText(*file) : ByteText{{}, newFileEncoding};
    if (utf8 && (utf8->encoding == TextEncoding::Utf8 || utf8->encoding == TextEncoding::Utf8Bom)) {
        Lines<char> imported;
        imported.reserve(size_t(records.size()));
        for (qsizetype i = 0; i < records.size(); ++i)
            imported.push_back(records.utf8At(i));
        merged.bytes = markOf(utf8->encoding) +
                       joinLines<QByteArray>(mergeLines(linesOf(utf8->text), imported, merged.counts));
        return merged;
    }
    const DecodedText text = file ? decodeRecordText(*file) : DecodedText{QString(), newFileEncoding};
    const QString imported =
        QString::fromUtf8(records.utf8Text().data(), qsizetype(records.utf8Text().size()));
    const Lines<char16_t> lines = mergeLines(linesOf(text.text), linesOf(imported), merged.counts);
    merged.bytes = encodeText(joinLines<QString>(lines), text.encoding);
    return merged;
}

ImportCounts importRecords(const QString& path, const ImportedRecords& records,
                           TextEncoding newFileEncoding) {
    const MergedRecordFile merged = mergeIntoRecordFile(readRecordBytes(path), records, newFileEncoding);
    if (!records.isEmpty())
        writeRecordBytes(path, merged.bytes);
    return merged.counts;
}

} // namespace dravik
