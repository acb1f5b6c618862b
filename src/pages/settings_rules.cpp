#include "pages/settings_rules.h"

namespace dravik {

bool settingsFitDivision(qint32 x, qint32 a, qint32 b, qint32 c) {
    // In 64 bits, so that a product out of the 32-bit range cannot wrap round to X.
    return qint64(a) * qint64(b) + qint64(c) == qint64(x) && c < a && c < b;
}

int startValueChoice(qint32 stored) {
    return stored == 0 ? 0 : 1;
}

int displayModeChoice(qint32 stored) {
    return stored == 0 ? 0 : 1;
}

int depthChoice(qint32 stored) {
    return stored == 0 ? 0 : stored == 1 ? 1 : 2;
}

} // namespace dravik
