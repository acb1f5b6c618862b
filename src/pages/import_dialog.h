#pragma once

#include "storage/archive_settings.h"
#include "storage/record_import.h"

#include <QByteArray>
#include <QDialog>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace dravik {

class PageFetch;

// The dialog "导入记录": a history pasted, opened from a file or read from a page's address (网址), the
// column that holds the number, what importing it would do to the archive, and "导入" / "取消".
class ImportDialog : public QDialog {
    Q_OBJECT
public:
    // Carries out the import of the parsed records; raises the record file's errors, and the dialog
    // then stays open with its text. `source`: where the text was read from, to be remembered; nothing
    // when it was pasted or opened from a file.
    using Importer =
        std::function<void(const ImportedRecords& records, const std::optional<ArchiveSource>& source)>;

    // `archive`: the bytes of the archive's record file (nothing: no file yet), for the summary; a file
    // that cannot be decoded raises its error here. `builtIn`: the archive is the built-in one, whose
    // draws the next start's download replaces. `numbers`: the labels and K of the archive, which the
    // imported numbers must be. `source`: the address the archive's history was last read from, filled
    // in.
    ImportDialog(std::optional<QByteArray> archive, bool builtIn, ArchiveNumbers numbers,
                 std::optional<ArchiveSource> source, Importer importer, QWidget* parent = nullptr);
    ~ImportDialog() override;

    // "更新": reads the remembered address now, and takes its text with the remembered choice when
    // that is still offered.
    void readRememberedSource();
    // The time limit of a page read, for tests that stand in for a page that never answers.
    void setReadTimeLimit(int milliseconds);

    // Loads a file's text into the field, as "打开文件…" does with the file chosen.
    void openFile(const QString& path);
    // Brings the summary and previews up to date now; edits otherwise update them after a short delay.
    void refreshSummary();

private:
    // "打开文件…": asks for a file and loads it.
    void chooseFile();
    // "导入": imports what the text holds, then closes.
    void runImport();
    // "读取" starts reading the address, "停止" abandons it.
    void startOrStopReading();
    void onReadFinished();
    // The button says what a click does: 读取, or 停止 while a read goes on.
    void showReading(bool reading);
    // Parses the text as it is now and shows the outcome; first picks the choice that fits the text,
    // until the user has picked one.
    ParsedRecords updateSummary();

    std::optional<QByteArray> archive_;
    ArchiveNumbers numbers_;
    QList<NumberColumn> choices_;
    bool choicePicked_ = false; // by the user, in this dialog
    std::optional<ArchiveSource> remembered_;
    QString readingFrom_; // the address being read
    QString readFrom_;    // the address the text was read from; empty: pasted or opened
    bool takeRememberedChoice_ = false;
    Importer importer_;
    PageFetch* fetch_ = nullptr; // made at the first read
    int readTimeLimitMs_;
    QLineEdit* urlEdit_;
    QPushButton* fetchButton_;
    QLabel* fetchStatus_;
    QCheckBox* autoCheck_;
    QTimer* summaryDelay_;
    QPlainTextEdit* textEdit_;
    QPushButton* openButton_;
    QComboBox* columnCombo_;
    QLabel* summaryLabel_;
    QLabel* recordsLabel_;
    QLabel* rejectedLabel_;
    QLabel* builtInNote_;
    QPushButton* importButton_;
    QPushButton* cancelButton_;
};

} // namespace dravik
