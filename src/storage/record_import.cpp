#include "storage/record_import.h"

#include "storage/error.h"
#include "storage/record_order.h"

#include <QVarLengthArray>
#include <algorithm>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

namespace dravik {

namespace {

// Blanks include the no-break and ideographic spaces, and commas the full-width one, that text
// copied from Chinese web pages carries between its columns.
bool isSeparator(char16_t c) {
    if (c <= u',')
        return c == u' ' || c == u'\t' || c == u',';
    return c == u'\u00A0' || c == u'\u3000' || c == u'\uFF0C';
}

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool allDigits(QStringView text) {
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), isDigit);
}

// The value of a field of digits, or nothing when it does not fit.
std::optional<quint64> digitsValue(QStringView digits) {
    constexpr quint64 kMax = std::numeric_limits<quint64>::max();
    quint64 value = 0;
    for (const QChar c : digits) {
        const quint64 digit = c.unicode() - u'0';
        if (value > (kMax - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

using Fields = QVarLengthArray<QStringView, 16>;

// Splits the line at runs of separators; returns whether it holds any separator.
bool splitFields(QStringView line, Fields& fields) {
    fields.clear();
    bool separated = false;
    qsizetype start = -1;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (isSeparator(line[i].unicode())) {
            separated = true;
            if (start >= 0)
                fields.append(line.sliced(start, i - start));
            start = -1;
        } else if (start < 0) {
            start = i;
        }
    }
    if (start >= 0)
        fields.append(line.sliced(start));
    return separated;
}

// The draw number of the split line in the chosen column, or nothing when it has none. A sum is
// written into `sum`, which the result then views.
std::optional<QStringView> numberOf(const Fields& fields, NumberColumn column, QString& sum) {
    switch (column.kind) {
    case NumberColumn::Kind::Last:
        if (fields.size() >= 2 && allDigits(fields.back()))
            return fields.back();
        break;
    case NumberColumn::Kind::Field:
        if (column.field >= 2 && fields.size() >= column.field && allDigits(fields[column.field - 1]))
            return fields[column.field - 1];
        break;
    case NumberColumn::Kind::SumAfterFirst: {
        quint64 total = 0;
        bool any = false;
        for (qsizetype i = 1; i < fields.size(); ++i) {
            if (!allDigits(fields[i]))
                continue;
            const std::optional<quint64> value = digitsValue(fields[i]);
            if (!value || total > std::numeric_limits<quint64>::max() - *value)
                return std::nullopt;
            total += *value;
            any = true;
        }
        if (!any)
            break;
        sum = QString::number(total);
        return QStringView(sum);
    }
    }
    return std::nullopt;
}

enum class LineRead { Record, Nothing, Rejected };

LineRead readLine(QStringView line, NumberColumn column, Fields& fields, QString* record) {
    const bool separated = splitFields(line, fields);
    if (fields.isEmpty())
        return LineRead::Nothing;
    if (!separated) {
        const qsizetype dot = line.indexOf(QLatin1Char('.'));
        if (dot >= 0 && allDigits(line.first(dot))) {
            *record = line.toString();
            return LineRead::Record;
        }
    }
    const QStringView period = fields.front();
    if (!allDigits(period))
        return LineRead::Rejected;
    QString sum;
    const std::optional<QStringView> number = numberOf(fields, column, sum);
    if (!number)
        return LineRead::Rejected;
    *record = QString(period.size() + 1 + number->size(), Qt::Uninitialized);
    QChar* out = record->data();
    out = std::copy(period.begin(), period.end(), out);
    *out++ = QLatin1Char('.');
    std::copy(number->begin(), number->end(), out);
    return LineRead::Record;
}

// Periods are compared often: as plain code units, which inlines.
std::u16string_view periodView(const QString& line) {
    const std::u16string_view text(reinterpret_cast<const char16_t*>(line.utf16()), size_t(line.size()));
    const size_t dot = text.find(u'.');
    return dot == std::u16string_view::npos ? std::u16string_view() : text.substr(0, dot);
}

struct Keyed {
    std::u16string_view period;
    qsizetype index;
};

bool periodLess(const Keyed& a, const Keyed& b) {
    return a.period < b.period;
}

// The lines' periods in order (any fixed order serves: they are only matched), lines of the same
// period in list order. Record files come sorted and histories from web pages newest first: both
// take one pass.
std::vector<Keyed> byPeriod(const QStringList& lines) {
    std::vector<Keyed> keyed;
    keyed.reserve(size_t(lines.size()));
    for (qsizetype i = 0; i < lines.size(); ++i)
        keyed.push_back({periodView(lines[i]), i});
    if (std::is_sorted(keyed.cbegin(), keyed.cend(), periodLess))
        return keyed;
    const auto notDescending = [](const Keyed& a, const Keyed& b) { return !periodLess(b, a); };
    if (std::adjacent_find(keyed.cbegin(), keyed.cend(), notDescending) == keyed.cend()) {
        std::reverse(keyed.begin(), keyed.end());
        return keyed;
    }
    std::stable_sort(keyed.begin(), keyed.end(), periodLess);
    return keyed;
}

} // namespace

QString NumberColumn::caption() const {
    switch (kind) {
    case Kind::Last:
        return QStringLiteral("最后一列");
    case Kind::Field:
        return QStringLiteral("第%1列").arg(field);
    case Kind::SumAfterFirst:
        return QStringLiteral("第2列起各列之和");
    }
    return {};
}

QList<NumberColumn> numberColumnChoices() {
    QList<NumberColumn> choices{{NumberColumn::Kind::Last, 0}};
    for (int field = 2; field <= 8; ++field)
        choices.append({NumberColumn::Kind::Field, field});
    choices.append({NumberColumn::Kind::SumAfterFirst, 0});
    return choices;
}

ParsedRecords parseImportText(QStringView text, NumberColumn column) {
    ParsedRecords parsed;
    Fields fields;
    qsizetype lineNumber = 0;
    forEachLine(textBeforeNul(text), [&](QStringView line) {
        ++lineNumber;
        QString record;
        switch (readLine(line, column, fields, &record)) {
        case LineRead::Record:
            parsed.records.append(std::move(record));
            break;
        case LineRead::Rejected:
            parsed.rejected.append({lineNumber, line.toString()});
            break;
        case LineRead::Nothing:
            break;
        }
    });
    return parsed;
}

QString readImportFile(const QString& path) {
    if (std::optional<DecodedText> read = readRecordText(path))
        return std::move(read->text);
    // Gone since it was chosen: reported as the failed open it is.
    throw Error(QStringLiteral("Cannot open file \"%1\". No such file or directory").arg(path));
}

MergedRecords mergeRecords(const QStringList& archive, const QStringList& records) {
    const std::vector<Keyed> present = byPeriod(archive);
    const std::vector<Keyed> imported = byPeriod(records);
    MergedRecords merged;
    QStringList kept = archive;
    QStringList added;
    added.reserve(records.size());
    auto at = present.cbegin();
    for (auto run = imported.cbegin(); run != imported.cend();) {
        // Of the records of one period the last one wins; of the lines, the first one is replaced.
        auto last = run;
        while (last + 1 != imported.cend() && last[1].period == run->period)
            ++last;
        const QString& record = records[last->index];
        while (at != present.cend() && at->period < run->period)
            ++at;
        if (at != present.cend() && at->period == run->period) {
            if (archive[at->index] == record) {
                ++merged.same;
            } else {
                kept[at->index] = record;
                ++merged.replaced;
            }
        } else {
            added.append(record);
        }
        run = last + 1;
    }
    merged.added = added.size();
    merged.lines = mergeInRecordOrder(std::move(kept), std::move(added));
    return merged;
}

MergedRecords importRecords(const QString& path, const QStringList& records, TextEncoding newFileEncoding) {
    const std::optional<RecordLines> file = readRecordFile(path);
    MergedRecords merged = mergeRecords(file ? file->lines : QStringList(), records);
    if (!records.isEmpty())
        writeRecordFile(path, merged.lines, file ? file->encoding : newFileEncoding);
    return merged;
}

} // namespace dravik
