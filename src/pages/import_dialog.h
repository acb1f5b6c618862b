#pragma once

#include "storage/record_import.h"

#include <QByteArray>
#include <QDialog>
#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace dravik {

// The dialog "导入记录": a history pasted or opened from a file, the column that holds the number,
// what importing it would do to the archive, and "导入" / "取消".
class ImportDialog : public QDialog {
    Q_OBJECT
public:
    // Carries out the import of the parsed records; raises the record file's errors, and the dialog
    // then stays open with its text.
    using Importer = std::function<void(const ImportedRecords& records)>;

    // `archive`: the bytes of the archive's record file (nothing: no file yet), for the summary; a file
    // that cannot be decoded raises its error here. `builtIn`: the archive is the built-in one, whose
    // draws the next start's download replaces. `numbers`: the labels and K of the archive, which the
    // imported numbers must be.
    ImportDialog(std::optional<QByteArray> archive, bool builtIn, ArchiveNumbers numbers, Importer importer,
                 QWidget* parent = nullptr);

    // Loads a file's text into the field, as "打开文件…" does with the file chosen.
    void openFile(const QString& path);
    // Brings the summary and previews up to date now; edits otherwise update them after a short delay.
    void refreshSummary();

private:
    // "打开文件…": asks for a file and loads it.
    void chooseFile();
    // "导入": imports what the text holds, then closes.
    void runImport();
    // Parses the text as it is now and shows the outcome; first picks the choice that fits the text,
    // until the user has picked one.
    ParsedRecords updateSummary();

    std::optional<QByteArray> archive_;
    ArchiveNumbers numbers_;
    QList<NumberColumn> choices_;
    bool choicePicked_ = false; // by the user, in this dialog
    Importer importer_;
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
