#pragma once

#include <QString>

namespace dravik {

// The page that the help tab's button opens and its QR code points to; fixed when the program is built.
QString downloadPageUrl();

} // namespace dravik
