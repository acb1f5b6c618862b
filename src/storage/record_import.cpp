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

struct Field {
    size_t begin = 0;
    size_t end = 0;
    bool digits = true;

    std::string_view in(std::string_view line) const { return line.substr(begin, end - begin); }
};

// The fields of a line, split at runs of separators; `fields` is kept from line to line.
void splitFields(std::string_view line, std::vector<Field>& fields) {
    fields.clear();
    const size_t size = line.size();
    size_t at = 0;
    while (true) {
        while (at < size) {
            const size_t separator = separatorAt(line, at);
            if (separator == 0)
                break;
            at += separator;
        }
        if (at == size)
            return;
        Field field{at, at, true};
        for (; field.end < size; ++field.end) {
            if (isDigit(line[field.end]))
                continue;
            if (separatorAt(line, field.end) != 0)
                break;
            field.digits = false;
        }
        fields.push_back(field);
        at = field.end;
    }
}

// What one line gives: a record, nothing (a line of separators), or a fault.
struct LineOutcome {
    enum class Kind { Record, Nothing, Rejected } kind = Kind::Nothing;
    ImportFault fault = ImportFault::PeriodNotDigits;
};

// Reads the numbers of a draw, in the order given, as labels of the archive into `number`, joined by
// one blank (`number` may be null: only the outcome is wanted). Every number is checked before the
// next: the first fault is the one told.
class DrawReader {
public:
    explicit DrawReader(const ArchiveNumbers& numbers) : numbers_(numbers) {}

    int perDraw() const { return numbers_.perDraw(); }

    void begin(std::string* number) {
        number_ = number;
        if (number_)
            number_->clear();
        seen_.clear();
    }
    std::optional<ImportFault> add(std::string_view digits) {
        ArchiveNumbers::Fault fault = ArchiveNumbers::Fault::None;
        const std::string* label = numbers_.labelOf(digits, &fault);
        if (!label)
            return fault == ArchiveNumbers::Fault::NotDigits ? ImportFault::NotDigits
                                                             : ImportFault::OutOfRange;
        return addLabel(label);
    }
    std::optional<ImportFault> addValue(quint64 value) {
        const std::string* label = numbers_.labelOfValue(value);
        if (!label)
            return ImportFault::OutOfRange;
        return addLabel(label);
    }

private:
    std::optional<ImportFault> addLabel(const std::string* label) {
        // A draw holds at most twenty numbers: a look back is all a repeat needs.
        if (std::find(seen_.cbegin(), seen_.cend(), label) != seen_.cend())
            return ImportFault::Repeated;
        seen_.push_back(label);
        if (number_) {
            if (seen_.size() > 1)
                *number_ += ' ';
            number_->append(*label);
        }
        return std::nullopt;
    }

    const ArchiveNumbers& numbers_;
    std::string* number_ = nullptr;
    std::vector<const std::string*> seen_;
};

// The period and the numbers of a record line (its first field holds a ".", digits before it), as
// labels into `number`; nothing when the line is not one.
std::optional<LineOutcome> readRecordForm(std::string_view line, const std::vector<Field>& fields,
                                          DrawReader& reader, std::string* number, std::string_view& period) {
    const std::string_view first = fields.front().in(line);
    const size_t dot = first.find('.');
    if (dot == std::string_view::npos || !allDigits(first.substr(0, dot)))
        return std::nullopt;
    const int k = reader.perDraw();
    // One number a draw: the record is the line, a separator in it makes the first field no period.
    if (k == 1 && fields.size() != 1)
        return std::nullopt;
    period = first.substr(0, dot);
    const std::string_view rest = first.substr(dot + 1);
    const qsizetype count = qsizetype(fields.size()) - 1 + (rest.empty() ? 0 : 1);
    if (k > 1 && count != k)
        return LineOutcome{LineOutcome::Kind::Rejected, ImportFault::WrongCount};
    reader.begin(number);
    if (k == 1 || !rest.empty()) {
        if (const std::optional<ImportFault> fault = reader.add(rest))
            return LineOutcome{LineOutcome::Kind::Rejected, *fault};
    }
    for (size_t i = 1; i < fields.size(); ++i) {
        if (const std::optional<ImportFault> fault = reader.add(fields[i].in(line)))
            return LineOutcome{LineOutcome::Kind::Rejected, *fault};
    }
    return LineOutcome{LineOutcome::Kind::Record, {}};
}

// The number that the column takes from a split line whose first field is its period.
LineOutcome readColumn(std::string_view line, const std::vector<Field>& fields, NumberColumn column,
                       DrawReader& reader, std::string* number) {
    const LineOutcome record{LineOutcome::Kind::Record, {}};
    const auto rejected = [](ImportFault fault) { return LineOutcome{LineOutcome::Kind::Rejected, fault}; };
    const qsizetype after = qsizetype(fields.size()) - 1; // fields after the period
    reader.begin(number);
    if (column.kind == NumberColumn::Kind::SumAfterFirst) {
        if (after == 0)
            return rejected(ImportFault::TooFewFields);
        quint64 total = 0;
        bool any = false;
        for (size_t i = 1; i < fields.size(); ++i) {
            if (!fields[i].digits)
                continue; // a date, a weekday: no part of the sum
            const std::optional<quint64> value = digitsValue(fields[i].in(line));
            if (!value || total > std::numeric_limits<quint64>::max() - *value)
                return rejected(ImportFault::OutOfRange);
            total += *value;
            any = true;
        }
        if (!any)
            return rejected(ImportFault::NotDigits);
        const std::optional<ImportFault> fault = reader.addValue(total);
        return fault ? rejected(*fault) : record;
    }
    qsizetype first = 0; // of the taken fields, counted from the period's 0
    const qsizetype count = std::max(column.count, 1);
    switch (column.kind) {
    case NumberColumn::Kind::FromField:
        first = std::max(column.field, 2) - 1;
        break;
    case NumberColumn::Kind::Last:
        first = after - count + 1;
        break;
    case NumberColumn::Kind::BeforeLast:
        first = after - count;
        break;
    case NumberColumn::Kind::SumAfterFirst:
        break;
    }
    if (first < 1 || first + count - 1 > after)
        return rejected(ImportFault::TooFewFields);
    for (qsizetype i = first; i < first + count; ++i) {
        if (const std::optional<ImportFault> fault = reader.add(fields[size_t(i)].in(line)))
            return rejected(*fault);
    }
    return record;
}

// One line under one column. `period` is where the record's period is told; `number` takes the
// record's number, or is null when only the outcome is wanted.
LineOutcome readLine(std::string_view line, const std::vector<Field>& fields, NumberColumn column,
                     DrawReader& reader, std::string* number, std::string_view& period) {
    if (fields.empty())
        return {};
    if (const std::optional<LineOutcome> record = readRecordForm(line, fields, reader, number, period))
        return *record;
    if (!fields.front().digits)
        return LineOutcome{LineOutcome::Kind::Rejected, ImportFault::PeriodNotDigits};
    period = fields.front().in(line);
    return readColumn(line, fields, column, reader, number);
}

// Calls visit(line number, line) for every line of a pasted text, up to a NUL.
template <typename Visit> void forEachImportLine(QByteArrayView utf8, Visit visit) {
    const qsizetype nul = utf8.indexOf('\0');
    if (nul >= 0)
        utf8 = utf8.first(nul);
    qsizetype lineNumber = 0;
    forEachByteLine(utf8, [&](QByteArrayView line) {
        visit(++lineNumber, std::string_view(line.data(), size_t(line.size())));
    });
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

// The first changes of a merge, in period order.
template <typename Char> struct Changes {
    size_t limit = 0;
    std::vector<std::pair<Line<Char>, Line<Char>>> replaced; // old and new line
    Lines<Char> added;

    void replace(Line<Char> old, Line<Char> line) {
        if (replaced.size() < limit)
            replaced.emplace_back(old, line);
    }
    void add(Line<Char> line) {
        if (added.size() < limit)
            added.push_back(line);
    }
};

template <typename Char>
Lines<Char> mergeLines(const Lines<Char>& archive, const Lines<Char>& records, ExistingRecords existing,
                       ImportCounts& counts, Changes<Char>& changes) {
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
            } else if (existing == ExistingRecords::Kept) {
                ++counts.kept;
            } else {
                changes.replace(archive[at->index], record);
                kept[at->index] = record;
                ++counts.replaced;
            }
        } else {
            changes.add(record);
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
    case Kind::FromField:
        return count == 1 ? QStringLiteral("第%1列").arg(field)
                          : QStringLiteral("第%1列起%2列").arg(field).arg(count);
    case Kind::Last:
        return count == 1 ? QStringLiteral("最后一列") : QStringLiteral("最后%1列").arg(count);
    case Kind::BeforeLast:
        return QStringLiteral("最后一列之前%1列").arg(count);
    case Kind::SumAfterFirst:
        return QStringLiteral("第2列起各列之和");
    }
    return {};
}

QList<NumberColumn> numberColumnChoices(int numbersPerDraw) {
    using Kind = NumberColumn::Kind;
    QList<NumberColumn> choices;
    if (numbersPerDraw <= 1) {
        // The blue ball of a 双色球 line, the usual single number, comes first, where the combo opens.
        choices.append({Kind::Last, 0, 1});
        for (int field = 2; field <= 8; ++field)
            choices.append({Kind::FromField, field, 1});
        choices.append({Kind::SumAfterFirst, 0, 1});
        return choices;
    }
    // Most histories list the draw's numbers right after the period or its date.
    for (int field = 2; field <= 8; ++field)
        choices.append({Kind::FromField, field, numbersPerDraw});
    choices.append({Kind::BeforeLast, 0, numbersPerDraw});
    choices.append({Kind::Last, 0, numbersPerDraw});
    return choices;
}

qsizetype numberColumnCaptioned(const QString& caption, int numbersPerDraw) {
    const QList<NumberColumn> choices = numberColumnChoices(numbersPerDraw);
    for (qsizetype i = 0; i < choices.size(); ++i) {
        if (choices[i].caption() == caption)
            return i;
    }
    return -1;
}

QString faultText(ImportFault fault, const ArchiveNumbers& numbers) {
    switch (fault) {
    case ImportFault::PeriodNotDigits:
        return QStringLiteral("期号不是数字");
    case ImportFault::TooFewFields:
        return QStringLiteral("列数不足");
    case ImportFault::NotDigits:
        return QStringLiteral("号码不是数字");
    case ImportFault::OutOfRange:
        return QStringLiteral("号码超出范围（%1）").arg(numbers.range());
    case ImportFault::Repeated:
        return QStringLiteral("号码重复");
    case ImportFault::WrongCount:
        return QStringLiteral("号码个数不对");
    }
    return {};
}

ParsedRecords parseImportText(QByteArrayView utf8, NumberColumn column, const ArchiveNumbers& numbers) {
    ParsedRecords parsed;
    // A long history would otherwise be copied over and over as the records grow. A record is about
    // its line and a line end, and memory reserved but not written costs next to nothing.
    qsizetype lineEnds = 0;
    forEachLineEndByte(utf8.data(), utf8.size(), [&lineEnds](qsizetype) { ++lineEnds; });
    parsed.records.reserve(lineEnds + 1, utf8.size() + lineEnds + 1);
    std::vector<Field> fields;
    std::string number;
    DrawReader reader(numbers);
    forEachImportLine(utf8, [&](qsizetype lineNumber, std::string_view line) {
        splitFields(line, fields);
        std::string_view period;
        const LineOutcome outcome = readLine(line, fields, column, reader, &number, period);
        if (outcome.kind == LineOutcome::Kind::Record)
            parsed.records.appendDraw(period, number);
        else if (outcome.kind == LineOutcome::Kind::Rejected)
            parsed.rejected.append(
                {lineNumber, QString::fromUtf8(line.data(), qsizetype(line.size())), outcome.fault});
    });
    return parsed;
}

ParsedRecords parseImportText(QStringView text, NumberColumn column, const ArchiveNumbers& numbers) {
    return parseImportText(QByteArrayView(text.toUtf8()), column, numbers);
}

qsizetype fittingNumberColumn(QByteArrayView utf8, const ArchiveNumbers& numbers) {
    const QList<NumberColumn> choices = numberColumnChoices(numbers.perDraw());
    std::vector<qsizetype> recognised(size_t(choices.size()), 0);
    std::vector<Field> fields;
    DrawReader reader(numbers);
    forEachImportLine(utf8, [&](qsizetype, std::string_view line) {
        splitFields(line, fields);
        for (qsizetype i = 0; i < choices.size(); ++i) {
            std::string_view period;
            if (readLine(line, fields, choices[i], reader, nullptr, period).kind == LineOutcome::Kind::Record)
                ++recognised[size_t(i)];
        }
    });
    return std::max_element(recognised.cbegin(), recognised.cend()) - recognised.cbegin();
}

qsizetype fittingNumberColumn(QStringView text, const ArchiveNumbers& numbers) {
    return fittingNumberColumn(QByteArrayView(text.toUtf8()), numbers);
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
                                     TextEncoding newFileEncoding, qsizetype changesListed,
                                     ExistingRecords existing) {
    MergedRecordFile merged;
    const auto list = [&merged](const auto& changes, const auto& toString) {
        for (const auto& [old, line] : changes.replaced) {
            const QString period = toString(periodIn(line));
            const auto numberOf = [&](auto record) {
                return toString(record.substr(periodIn(record).size() + 1));
            };
            merged.replaced.append({period, numberOf(old), numberOf(line)});
        }
        for (const auto line : changes.added)
            merged.added.append(toString(line));
    };
    const std::optional<ByteText> utf8 = file ? byteRecordText(*file) : ByteText{{}, newFileEncoding};
    if (utf8 && (utf8->encoding == TextEncoding::Utf8 || utf8->encoding == TextEncoding::Utf8Bom)) {
        Lines<char> imported;
        imported.reserve(size_t(records.size()));
        for (qsizetype i = 0; i < records.size(); ++i)
            imported.push_back(records.utf8At(i));
        Changes<char> changes{size_t(changesListed), {}, {}};
        merged.bytes =
            markOf(utf8->encoding) + joinLines<QByteArray>(mergeLines(linesOf(utf8->text), imported, existing,
                                                                      merged.counts, changes));
        list(changes, [](Line<char> text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); });
        return merged;
    }
    const DecodedText text = file ? decodeRecordText(*file) : DecodedText{QString(), newFileEncoding};
    const QString imported =
        QString::fromUtf8(records.utf8Text().data(), qsizetype(records.utf8Text().size()));
    Changes<char16_t> changes{size_t(changesListed), {}, {}};
    const Lines<char16_t> lines =
        mergeLines(linesOf(text.text), linesOf(imported), existing, merged.counts, changes);
    merged.bytes = encodeText(joinLines<QString>(lines), text.encoding);
    list(changes,
         [](Line<char16_t> text) { return QStringView(text.data(), qsizetype(text.size())).toString(); });
    return merged;
}

ImportCounts importRecords(const QString& path, const ImportedRecords& records, TextEncoding newFileEncoding,
                           ExistingRecords existing) {
    const std::optional<QByteArray> file = readRecordBytes(path);
    const MergedRecordFile merged = mergeIntoRecordFile(file, records, newFileEncoding, 0, existing);
    // A file whose bytes stay is not written: an update that finds no new draw leaves it alone.
    if (!records.isEmpty() && merged.bytes != file)
        writeRecordBytes(path, merged.bytes);
    return merged.counts;
}

} // namespace dravik
