#include "storage/error.h"

namespace dravik {

Error::Error(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}

} // namespace dravik
