#pragma once

#include <QtGlobal>
#include <optional>

namespace dravik {

// The division X ÷ A = B remainder C that splits the numbers 1..X (or 0..X−1) into groups.
struct DivisionSettings {
    qint32 x = 0, a = 0, b = 0, c = 0;
    friend bool operator==(const DivisionSettings& l, const DivisionSettings& r) {
        return l.x == r.x && l.a == r.a && l.b == r.b && l.c == r.c;
    }
};

// What a run falls back to when the settings cannot be used: the built-in archive's game.
inline constexpr DivisionSettings kDefaultDivision{36, 6, 6, 0};

// A table is not meant to show more numbers than this; a larger universe can only come from a
// hand-edited settings file and would cost memory without bound (X reaches 2^31 − 1).
inline constexpr qint32 kMaxLabels = 10000;

// X = A·B + C with C < A and C < B, computed without overflow.
bool passesDivisionRule(const DivisionSettings& s);

// The rule, plus what the grouping needs to stay finite and sensible: A ≥ 1, B ≥ 1, C ≥ 0 and at
// most kMaxLabels numbers.
bool isUsableDivision(const DivisionSettings& s);

// The division of X into groups of A whose B and C are the quotient and remainder, X div A and X mod
// A; nothing when that division is not usable.
std::optional<DivisionSettings> divisionFor(qint32 x, qint32 a);

struct SettingsCheck {
    DivisionSettings values;
    bool substituted = false; // the run tells the user and goes on with kDefaultDivision
};
SettingsCheck checkDivision(const DivisionSettings& s);

} // namespace dravik
