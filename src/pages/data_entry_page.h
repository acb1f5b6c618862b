#pragma once

#include "storage/archive_numbers.h"

#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QTableWidget;

namespace dravik {

class RecordList;

namespace ui {
class ChoiceCombo;
class ImageButton;
class ItemList;
} // namespace ui

// The data-entry page: the latest draw records of one archive, newest first, and the fields to add,
// replace and delete them. Every change goes to the record file at once, through the record list.
class DataEntryPage : public QWidget {
    Q_OBJECT
public:
    // What the page needs of the window around it.
    struct Host {
        std::function<QString()> archiveName;           // the name field's text on the settings tab
        std::function<int()> numbersPerDraw;            // K of the settings as they stand
        std::function<ArchiveNumbers()> archiveNumbers; // the labels and K of the settings as they stand
        std::function<void(const QString&)> runAction;  // runs a named action
        std::function<void()> showPage;                 // brings this page into view
        std::function<void()> showMainPage;
        QWidget* dialogOwner = nullptr;
    };

    explicit DataEntryPage(Host host, QWidget* parent = nullptr);
    ~DataEntryPage() override;

    // Opens the page for the archive named on the settings tab.
    void openForArchive();
    // Loads the archive's records into the table and the period list.
    void loadRecords();
    // Writes the table back to the record file, sorted.
    void saveRecords();
    // The choices of the number field's list.
    void setNumberChoices(const QStringList& numbers);

    // The records of the last load.
    const RecordList& records() const { return *records_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void copySelectedRecord();
    void addRecord();
    void deleteRecord();
    // Opens the dialog "导入记录" on the archive of the last load; for 更新 it reads the archive's
    // remembered address at once.
    enum class ImportStart { Pasting, Updating };
    void openImportDialog(ImportStart start);
    void goBack();
    void emptyTable();
    void showRecords();
    void fitNumberColumn();
    // The page writes only to the file of an archive whose name it accepted at its last load.
    bool refuseWrite();
    // The number text of the record to add: as typed, or for K > 1 the draw's labels joined by one
    // blank. A draw that is not one is told in the message box, and nothing is given.
    std::optional<QString> enteredNumber();
    // A change of the records was written: they go back to the record file and a new analysis.
    void recordsWritten();

    Host host_;
    std::unique_ptr<RecordList> records_;
    bool loadedSafeName_ = false;
    bool recordsChanged_ = false; // since the page was opened
    QWidget* header_;
    QLabel* title_;
    ui::ImageButton* backButton_;
    ui::ItemList* fields_;
    ui::ChoiceCombo* periodCombo_;
    ui::ChoiceCombo* numberCombo_;
    ui::ImageButton* deleteButton_;
    ui::ImageButton* addButton_;
    ui::ImageButton* importButton_;
    ui::ImageButton* updateButton_;
    QTableWidget* recordTable_;
};

} // namespace dravik
