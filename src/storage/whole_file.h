#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace dravik {

// Replaces a file's whole content so that it is either the old file or the new one, never a mix:
// the bytes go to a temporary file beside it that takes the file's place only once complete.
// A file or folder without its owner's write permission counts as read-only even for root, as a
// read-only attribute would. Returns false with the platform's reason when the file was not replaced.
bool replaceWholeFile(const QString& path, const QByteArray& bytes, QString* reason);

// Writes several files that belong together (the pages of one picture) so that either all of them
// take their places, the files to remove gone, or nothing the user had changes: each file is written
// to a temporary file beside it, one at a time, and only once all are written do they replace the
// old ones, which are put back should any of those steps fail. A set dropped before it was committed
// removes what it wrote. Read-only counts as for replaceWholeFile.
class WholeFileSet {
public:
    // `paths` are written, `removed` (old files that would be mistaken for part of the set) go.
    explicit WholeFileSet(QStringList paths, QStringList removed = {});
    ~WholeFileSet();
    WholeFileSet(const WholeFileSet&) = delete;
    WholeFileSet& operator=(const WholeFileSet&) = delete;

    // Whether the folders and the files to replace or remove may be written, before any content is
    // made; false with the reason when not.
    bool mayWrite(QString* reason) const;
    // The content of paths[index], to its temporary file.
    bool write(int index, const QByteArray& bytes, QString* reason);
    // Every file written: all of them into place and the files to remove gone, or, on failure, all as
    // it was before.
    bool commit(QString* reason);
    // Removes the temporary files written so far.
    void discard();

private:
    QStringList paths_;
    QStringList removed_;
    QStringList temporaries_; // one per path, empty until written
};

} // namespace dravik
