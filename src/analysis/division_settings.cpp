#include "analysis/division_settings.h"

namespace dravik {

bool passesDivisionRule(const DivisionSettings& s) {
    // 64-bit so that a product past the 32-bit range cannot wrap around into a match.
    return qint64(s.x) == qint64(s.a) * qint64(s.b) + qint64(s.c) && s.c < s.a && s.c < s.b;
}

bool isUsableDivision(const DivisionSettings& s) {
    return passesDivisionRule(s) && s.a >= 1 && s.b >= 1 && s.c >= 0 && s.x <= kMaxLabels;
}

std::optional<DivisionSettings> divisionFor(qint32 x, qint32 a) {
    if (a < 1 || x < 0)
        return std::nullopt;
    const DivisionSettings division{x, a, x / a, x % a};
    if (!isUsableDivision(division))
        return std::nullopt;
    return division;
}

SettingsCheck checkDivision(const DivisionSettings& s) {
    if (isUsableDivision(s))
        return {s, false};
    return {kDefaultDivision, true};
}

} // namespace dravik
