#pragma once

#include "storage/record_file.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace dravik {

// The draw records of the archive open on the data-entry page: the latest
// 100 lines of its record file, the record window. Lines of a longer file that lie before the window
// are held aside and written back first, unchanged, by every save, so editing never loses history.
class RecordList {
public:
    static constexpr int kWindow = 100;

    // Sets the file to the archive's record file and loads its window. Returns whether a file was
    // there; without one the list is empty and keeps the encoding of the last file loaded. A file
    // that cannot be read raises its read error and leaves the list empty.
    bool load(const QString& archive);

    // Index of the first line whose period equals the text exactly (letter case included).
    std::optional<int> findPeriod(const QString& period) const;
    // Appends unless a line equal by the record comparison is already there.
    void addRecord(const QString& line);
    // An index outside the list changes nothing.
    void replaceRecord(int index, const QString& line);
    // Removes every line whose period equals the text exactly; returns how many went.
    int removePeriod(const QString& period);
    void clear();
    void append(const QString& line);
    void sortRecords();
    // Writes the lines before the window, then the window in its present order, to the file. After a
    // load that failed the file's history is unknown, so the file is left alone and the save raises
    // "Cannot create file "<path>" because it could not be read: <reason>" until a load succeeds.
    void save() const;

    const QStringList& lines() const { return lines_; }
    const QString& file() const { return file_; }
    TextEncoding encoding() const { return encoding_; }

private:
    QStringList older_;
    QStringList lines_;
    QString file_;
    TextEncoding encoding_ = TextEncoding::Utf8;
    QString loadError_; // the reason the last load failed
};

} // namespace dravik
