// The whole analysis course on arbitrary settings texts, numbers per draw and record lines: it never
// fails other than by its conversion error, answers in the order of its checks, and every table row
// holds counts that the depth and the draws' numbers allow.
#include "analysis/analysis_run.h"
#include "analysis/division_settings.h"
#include "analysis/draw_numbers.h"
#include "fuzz_support.h"
#include "storage/integer_text.h"

using namespace dravik;
using dravik::fuzz::ByteReader;

namespace {

// Mostly the characters integers are made of, so that the run gets past the conversion often.
QString takeSetting(ByteReader& in) {
    static const char kAlphabet[] = "0123456789-+$xX 0123456789";
    const int length = in.byte() % 8;
    QString text;
    for (int i = 0; i < length; ++i) {
        const uint8_t pick = in.byte();
        text +=
            pick < 0xF0 ? QChar(QLatin1Char(kAlphabet[pick % (sizeof(kAlphabet) - 1)])) : QChar(in.word());
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ByteReader in(data, size);
    const uint8_t flags = in.byte();
    AnalysisInputs inputs;
    inputs.archive = QStringLiteral("档案");
    inputs.depth = (flags >> 1 & 3) == 0 ? 30 : (flags >> 1 & 3) == 1 ? 60 : 100;
    inputs.startValue = flags >> 3 & 1;
    inputs.mode = flags & 16 ? DisplayMode::Interval : DisplayMode::Sequential;
    static const char* const kNumbersPerDraw[] = {"1", "2", "3", "6"};
    inputs.k = QString::fromLatin1(kNumbersPerDraw[flags >> 6 & 3]);
    inputs.x = takeSetting(in);
    inputs.a = takeSetting(in);
    inputs.b = takeSetting(in);
    inputs.c = takeSetting(in);

    QStringList lines = QString::fromUtf8(in.rest()).split(QLatin1Char('\n'));
    // Short inputs stand for long histories by repeating their lines.
    if (flags & 32 && !lines.isEmpty()) {
        const QStringList once = lines;
        while (lines.size() < inputs.depth)
            lines += once;
    }
    if (!(flags & 1))
        inputs.records = RecordTail{lines.size(), lines};

    const AnalysisOutcome outcome = runAnalysis(inputs);
    if (!inputs.records) {
        FUZZ_CHECK(outcome.table == AnalysisOutcome::Table::Empty && !outcome.message.isEmpty() &&
                   !outcome.messageIsError);
        return 0;
    }
    if (lines.size() < inputs.depth) {
        FUZZ_CHECK(outcome.table == AnalysisOutcome::Table::Empty && !outcome.messageIsError);
        return 0;
    }
    const QString settings[] = {inputs.x, inputs.a, inputs.b, inputs.c};
    for (const QString& text : settings) {
        if (!parseInteger(text)) {
            FUZZ_CHECK(outcome.messageIsError && outcome.table == AnalysisOutcome::Table::Unchanged);
            FUZZ_CHECK(outcome.message == QStringLiteral("'%1' is not a valid integer value").arg(text));
            return 0;
        }
    }
    FUZZ_CHECK(!outcome.messageIsError && outcome.table == AnalysisOutcome::Table::Rows);
    const DivisionSettings division{*parseInteger(inputs.x), *parseInteger(inputs.a), *parseInteger(inputs.b),
                                    *parseInteger(inputs.c)};
    FUZZ_CHECK(outcome.message.isEmpty() == isUsableDivision(division));
    FUZZ_CHECK(!outcome.rows.isEmpty());
    // The groups share no label, so a number counts in one row at most: the rows together count no
    // more numbers than the latest draws hold (one a draw for K = 1).
    const int k = numbersPerDraw(inputs.k, isUsableDivision(division) ? division.x : kDefaultDivision.x);
    qint64 numbers = 0;
    const std::optional<QStringList> draws = latestDrawNumbers(lines, inputs.depth);
    for (const QString& draw : *draws)
        numbers += qint64(drawNumbersIn(draw, k).size());
    FUZZ_CHECK(k > 1 || numbers == inputs.depth);
    qint64 counted = 0;
    for (const ResultRow& row : outcome.rows) {
        const std::optional<qint32> occurrence = parseInteger(row.occurrence);
        const std::optional<qint32> omission = parseInteger(row.omission);
        FUZZ_CHECK(occurrence && *occurrence >= 0);
        counted += *occurrence;
        FUZZ_CHECK(omission && *omission >= 0 && *omission <= inputs.depth);
        FUZZ_CHECK(row.mark.isEmpty() || row.mark == kMark);
        FUZZ_CHECK(!row.group.isEmpty());
    }
    FUZZ_CHECK(counted <= numbers);
    return 0;
}
