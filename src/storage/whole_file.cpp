#include "storage/whole_file.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

namespace dravik {

namespace {

bool ownerMayWrite(const QFileInfo& info) {
    return info.permissions() & QFileDevice::WriteOwner;
}

bool mayReplace(const QString& path, QString* reason) {
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    if ((target.exists() && !ownerMayWrite(target)) || (folder.isDir() && !ownerMayWrite(folder))) {
        *reason = QStringLiteral("Permission denied");
        return false;
    }
    return true;
}

// A name beside `path` that no file has. Not taken by a file of its own, so that the file written
// there is made as a new file is, with the permissions the user gives new files.
QString freeNameBeside(const QString& path) {
    for (;;) {
        const QString name = QStringLiteral("%1.%2").arg(path).arg(
            QRandomGenerator::global()->generate() & 0xFFFFFF, 6, 16, QLatin1Char('0'));
        if (!QFileInfo::exists(name))
            return name;
    }
}

} // namespace

bool replaceWholeFile(const QString& path, const QByteArray& bytes, QString* reason) {
    if (!mayReplace(path, reason))
        return false;
    QSaveFile file(path);
    // Unbuffered, so that each write reaches the file here and a short one is seen. Buffered, the
    // bytes would go out at commit, which takes a write that a full disk cut short for a whole one and
    // puts the truncated file in place of the old.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *reason = file.errorString();
        return false;
    }
    // A short write carries no reason; the next one, which cannot go on, gives the platform's.
    const char* data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const qint64 written = file.write(data, left);
        if (written <= 0) {
            *reason = file.errorString();
            file.cancelWriting();
            return false;
        }
        data += written;
        left -= written;
    }
    if (!file.commit()) {
        *reason = file.errorString();
        return false;
    }
    return true;
}

WholeFileSet::WholeFileSet(QStringList paths, QStringList removed)
    : paths_(std::move(paths)), removed_(std::move(removed)) {
    for (qsizetype i = 0; i < paths_.size(); ++i)
        temporaries_.append(QString());
}

WholeFileSet::~WholeFileSet() {
    discard();
}

bool WholeFileSet::mayWrite(QString* reason) const {
    for (const QString& path : paths_ + removed_) {
        if (!mayReplace(path, reason))
            return false;
    }
    return true;
}

bool WholeFileSet::write(int index, const QByteArray& bytes, QString* reason) {
    const QString& path = paths_[index];
    if (!mayReplace(path, reason))
        return false;
    QString& temporary = temporaries_[index];
    if (temporary.isEmpty())
        temporary = freeNameBeside(path);
    // The temporary file too is written whole, so that what commit() puts in place is complete on
    // disk; it keeps the permissions of the file it replaces, as replaceWholeFile does.
    if (!replaceWholeFile(temporary, bytes, reason))
        return false;
    const QFileInfo old(path);
    if (old.isFile() && !QFile::setPermissions(temporary, old.permissions())) {
        *reason = QStringLiteral("Permission denied");
        return false;
    }
    return true;
}

bool WholeFileSet::commit(QString* reason) {
    for (const QString& temporary : std::as_const(temporaries_)) {
        if (temporary.isEmpty()) {
            *reason = QStringLiteral("Not all files written");
            return false;
        }
    }
    // Every rename done, to be undone in reverse order should a later one fail.
    struct Move {
        QString from, to;
    };
    QList<Move> moves;
    QStringList asides; // the old files, under reserved names until the new set is in place
    const auto move = [&](const QString& from, const QString& to) {
        QFile file(from);
        if (!file.rename(to)) {
            *reason = file.errorString();
            return false;
        }
        moves.append({from, to});
        return true;
    };
    const auto moveAside = [&](const QString& path) {
        const QString aside = freeNameBeside(path);
        if (!move(path, aside))
            return false;
        asides.append(aside);
        return true;
    };
    bool done = true;
    for (const QString& path : std::as_const(removed_)) {
        if (QFileInfo(path).isFile() && !moveAside(path)) {
            done = false;
            break;
        }
    }
    for (qsizetype i = 0; done && i < paths_.size(); ++i) {
        done = (!QFileInfo(paths_[i]).isFile() || moveAside(paths_[i])) && move(temporaries_[i], paths_[i]);
    }
    if (!done) {
        for (qsizetype i = moves.size() - 1; i >= 0; --i)
            QFile::rename(moves[i].to, moves[i].from);
        return false;
    }
    for (const QString& aside : std::as_const(asides))
        QFile::remove(aside);
    for (QString& temporary : temporaries_)
        temporary.clear();
    return true;
}

void WholeFileSet::discard() {
    for (QString& temporary : temporaries_) {
        if (!temporary.isEmpty())
            QFile::remove(temporary);
        temporary.clear();
    }
}

} // namespace dravik
