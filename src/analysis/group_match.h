#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

namespace dravik {

// Which rows of a table a draw number falls in, by sameNumber against the labels of each group text.
// Built once per list of group texts: labels and draw numbers are short digit texts in practice, and
// those are matched by a table look-up on their digitKey, so a long history costs no collation.
class GroupMatcher {
public:
    explicit GroupMatcher(const QStringList& groupTexts);

    // The distinct rows (0-based, ascending) whose group text holds a label equal to the number. The
    // reference stays valid until the next call.
    const std::vector<int>& rowsHitBy(QStringView drawNumber);

private:
    struct Label {
        int row;
        QStringView text;
    };

    const std::vector<int>& rowsOfKey(quint64 key) const;

    QStringList groups_; // kept so that the label views stay valid
    std::vector<Label> labels_;
    std::vector<Label> unkeyed_; // labels that only the collator can compare
    // The rows of each plain digit label: digit texts of up to kDenseDigits digits index denseKeys_
    // directly, longer ones go through longKeys_; both give an entry of keyRows_ (0: no row).
    std::vector<std::vector<int>> keyRows_;
    std::vector<int> denseKeys_;
    QHash<quint64, int> longKeys_;
    std::vector<int> hits_;
    QHash<QString, std::vector<int>> collatedHits_; // draw numbers that need the collator, by text
};

} // namespace dravik
