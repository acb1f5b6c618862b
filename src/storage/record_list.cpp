#include "storage/record_list.h"

#include "storage/data_folder.h"
#include "storage/error.h"
#include "storage/record_order.h"

namespace dravik {

namespace {

// The read error names the file already; the refused save names it once, with the read error's reason.
QString readFailureReason(const QString& readError, const QString& path) {
    const QString openPrefix = QStringLiteral("Cannot open file \"%1\". ").arg(path);
    return readError.startsWith(openPrefix) ? readError.mid(openPrefix.size()) : readError;
}

} // namespace

bool RecordList::load(const QString& archive) {
    file_ = recordFilePath(archive);
    lines_.clear();
    older_.clear();
    loadError_.clear();
    std::optional<RecordLines> read;
    try {
        read = readRecordFile(file_);
    } catch (const Error& error) {
        loadError_ = readFailureReason(error.message(), file_);
        throw;
    }
    if (!read)
        return false;
    encoding_ = read->encoding;
    lines_ = std::move(read->lines);
    if (lines_.size() > kWindow) {
        older_ = lines_.first(lines_.size() - kWindow);
        lines_.remove(0, older_.size());
    }
    return true;
}

std::optional<int> RecordList::findPeriod(const QString& period) const {
    for (int i = 0; i < lines_.size(); ++i) {
        if (periodOf(lines_[i]) == period)
            return i;
    }
    return std::nullopt;
}

void RecordList::addRecord(const QString& line) {
    for (const QString& present : std::as_const(lines_)) {
        if (sameRecord(present, line))
            return;
    }
    lines_.append(line);
}

void RecordList::replaceRecord(int index, const QString& line) {
    if (index < 0 || index >= lines_.size())
        return;
    lines_[index] = line;
}

int RecordList::removePeriod(const QString& period) {
    const qsizetype before = lines_.size();
    lines_.removeIf([&period](const QString& line) { return periodOf(line) == period; });
    return int(before - lines_.size());
}

void RecordList::clear() {
    lines_.clear();
}

void RecordList::append(const QString& line) {
    lines_.append(line);
}

void RecordList::sortRecords() {
    dravik::sortRecords(lines_);
}

void RecordList::save() const {
    if (!loadError_.isEmpty())
        throw Error(QStringLiteral("Cannot create file \"%1\" because it could not be read: %2")
                        .arg(file_, loadError_));
    writeRecordFile(file_, older_ + lines_, encoding_);
}

} // namespace dravik
