#include "pages/settings_rules.h"

namespace dravik {

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
