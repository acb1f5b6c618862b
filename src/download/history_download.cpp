#include "download/history_download.h"

#include "download/page_scan.h"
#include "storage/archive_settings.h"
#include "storage/data_folder.h"
#include "storage/error.h"
#include "storage/record_file.h"
#include "storage/record_order.h"

namespace dravik {

namespace {

constexpr int kHistoryPages = 4;

} // namespace

QString defaultSiteRoot() {
    return QStringLiteral("http://www.gdfc.org.cn");
}

QString historySiteRoot(const QString& given) {
    if (!given.isEmpty())
        return given;
    const QString configured = configuredSiteRoot();
    return configured.isEmpty() ? defaultSiteRoot() : configured;
}

QString historyPageUrl(const QString& siteRoot, int page) {
    return siteRoot + QStringLiteral("/datas/history/haocai/history_") + QString::number(page) +
           QStringLiteral(".html");
}

void downloadHistory(HistoryFetcher& fetcher, const QString& siteRoot, const std::function<void()>& pump,
                     const std::function<void(const QString&)>& showMessage) {
    DrawList found;
    bool fetchFailed = false;
    for (int page = 1; page <= kHistoryPages && !fetchFailed; ++page) {
        QString text;
        try {
            text = fetcher.fetchPage(QUrl(historyPageUrl(siteRoot, page)));
        } catch (const Error&) {
            // Why it failed is not the user's concern: the one message below says the refresh failed.
            fetchFailed = true;
            continue;
        }
        scanPage(text, found, pump);
    }
    if (fetchFailed)
        showMessage(QStringLiteral("更新好彩1数据失败"));
    if (found.isEmpty())
        return;
    QStringList lines = found.records();
    sortRecords(lines);
    writeRecordFile(recordFilePath(kBuiltInArchive), lines, TextEncoding::Utf8);
}

} // namespace dravik
