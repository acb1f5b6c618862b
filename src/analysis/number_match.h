#pragma once

#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

namespace dravik {

// True when the text is made of the ASCII digits 0-9 only (the empty text included).
bool isPlainDigits(QStringView text);

// Whether a draw number and a number label name the same number: the record comparison (locale
// aware, letter case ignored). Two plain digit texts are equal under it exactly when they are the
// same characters, so those skip the collator; anything else ("０７", " 7", "7.1") asks it.
bool sameNumber(const QString& label, const QString& drawNumber);

// A plain digit text of up to 17 digits as one integer that keeps its length too ("7" and "07"
// differ): equal keys are exactly sameNumber for such texts, so matching becomes an integer search.
// Nothing for other texts.
inline constexpr qsizetype kMaxKeyDigits = 17;
inline std::optional<quint64> digitKey(QStringView text) {
    if (text.size() > kMaxKeyDigits)
        return std::nullopt;
    quint64 value = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < u'0' || u > u'9')
            return std::nullopt;
        value = value * 10 + (u - u'0');
    }
    return value * 32 + quint64(text.size());
}

// The labels of a group text as written: the text with a "." appended, every "." closing a label,
// empty ones and repeats included. The views point into the text.
std::vector<QStringView> groupTokens(QStringView groupText);

} // namespace dravik
