#pragma once

#include "download/history_fetcher.h"

#include <QString>
#include <functional>

namespace dravik {

// The operator site used when set.ini names none.
QString defaultSiteRoot(); // "http://www.gdfc.org.cn"

// The site the download reads: the one given (a test's own server), else the one set.ini names, else
// the operator's.
QString historySiteRoot(const QString& given);

// The address of history page `page` (1 to 4) below the site root.
QString historyPageUrl(const QString& siteRoot, int page);

// Refreshes the built-in archive from the four history pages, fetched in order. The first failed
// fetch ends the run and shows "更新好彩1数据失败" through `showMessage`, once; the draws found until
// then still count. When at least one draw was found, the built-in archive's record file is replaced by
// them, in record order (UTF-8 without a mark); otherwise the file stays as it was. `pump` runs once per
// draw found. A failed write raises dravik::Error after the fetches are done.
void downloadHistory(HistoryFetcher& fetcher, const QString& siteRoot, const std::function<void()>& pump,
                     const std::function<void(const QString&)>& showMessage);

} // namespace dravik
