#include "app/download_page.h"

#ifndef DRAVIK_DOWNLOAD_URL
#define DRAVIK_DOWNLOAD_URL "https://github.com/dravik-app/dravik"
#endif

namespace dravik {

QString downloadPageUrl() {
    return QStringLiteral(DRAVIK_DOWNLOAD_URL);
}

} // namespace dravik
