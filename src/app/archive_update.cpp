#include "app/archive_update.h"

#include "download/page_fetch.h"
#include "storage/archive_settings.h"
#include "storage/data_folder.h"
#include "storage/error.h"
#include "storage/record_import.h"

#include <optional>

namespace dravik {

namespace {

QString failure(const QString& archive, const QString& reason) {
    return QStringLiteral("更新失败：%1：%2").arg(archive, reason);
}

} // namespace

QString updateArchiveFromSource(const AnalysisInputs& settings, int timeLimitMs) {
    const QString& archive = settings.archive;
    if (archive == kBuiltInArchive || !isSafeArchiveName(archive))
        return {};
    const std::optional<ArchiveSource> source = loadArchiveSource(archive);
    if (!source || !source->autoUpdate)
        return {};
    std::optional<ArchiveNumbers> numbers;
    try {
        numbers = archiveNumbersOf(settings);
    } catch (const Error&) {
        return {};
    }

    const PageOutcome page = PageFetch::read(source->url, timeLimitMs);
    if (page.status != PageOutcome::Status::Read)
        return failure(archive, page.reason);
    const QByteArray text = page.lines.join(QLatin1Char('\n')).toUtf8();
    const QList<NumberColumn> choices = numberColumnChoices(numbers->perDraw());
    qsizetype choice = numberColumnCaptioned(source->column, numbers->perDraw());
    if (choice < 0)
        choice = fittingNumberColumn(text, *numbers);
    const ParsedRecords parsed = parseImportText(text, choices.at(choice), *numbers);
    try {
        importRecords(recordFilePath(archive), parsed.records, TextEncoding::Utf8, ExistingRecords::Kept);
    } catch (const Error& error) {
        return failure(archive, error.message());
    }
    return {};
}

} // namespace dravik
