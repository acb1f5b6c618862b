#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <functional>
#include <set>
#include <vector>

namespace dravik {

// The draws a download run has found, in the order found, each at most once by the record comparison.
// Repeats are found without scanning the list: plain records (five ASCII digits, ".", two ASCII digits,
// all a history page normally holds) are pairwise equal only when identical, so a bit per possible
// plain record settles them. Any other record can equal a differently written one (case, full-width
// or other-script digits, ignorable characters), so once one turns up every record goes through a set
// ordered by the record comparison itself.
class DrawList {
public:
    // Appends the record unless an equal one is held; returns whether it was appended.
    bool add(const QString& record);

    const QStringList& records() const { return records_; }
    bool isEmpty() const { return records_.isEmpty(); }

private:
    struct RecordLess {
        bool operator()(const QString& a, const QString& b) const;
    };

    bool addOrdered(const QString& record);

    QStringList records_;
    std::vector<std::uint64_t> plainSeen_;  // one bit per plain record, allocated on first use
    std::set<QString, RecordLess> ordered_; // every record, once a record that is not plain was met
    bool ordering_ = false;
};

// The period marker `">20` and the number marker `No="`.
inline constexpr QStringView kPeriodMarker = u"\">20";
inline constexpr QStringView kNumberMarker = u"No=\"";

// Scans one page text for draws and adds them to `found`; `pump` runs once per draw found, repeats
// included. Each step pairs the first period marker of the text not yet consumed with its first number
// marker, takes the 5 characters after the one and the 2 after the other (fewer at the end of the
// text), and consumes the text up to and including the first character of the number. A period marker
// with no number marker left after it ends the page. Linear in the page's length.
void scanPage(QStringView page, DrawList& found, const std::function<void()>& pump);

} // namespace dravik
