#include "analysis/division_settings.h"

namespace dravik {

bool passesDivisionRule(const DivisionSettings& s) {
    // 64-bit so that a product past the 32-bit range cannot wrap around into a match.
    return qint64(s.x) == qint64(s.a) * qint64(s.b) + qint64(s.c) && s.c < s.a && s.c < s.b;
}

bool isUsableDivision(const DivisionSettings& s) {
    return passesDivisionRule(s) && s.a >= 1 && s.b >= 1 && s.c >= 0 && s.x <= kMaxLabels;
}

SettingsCheck checkDivision(const DivisionSettings& s) {
    if (isUsableDivision(s))
        return {s, false};
    return {kDefaultDivision, true};
}

} // namespace dravik
