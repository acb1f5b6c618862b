#pragma once

#include <QString>
#include <QWidget>
#include <functional>

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
        std::function<RecordList*()> records;          // DataList (with DataFile), made by start-up
        std::function<QString()> archiveName;          // Edit_name's text on the settings tab
        std::function<void(const QString&)> runAction; // runs a named action
        std::function<void()> showPage;                // brings this page into view
        std::function<void()> showMainPage;
        QWidget* dialogOwner = nullptr;
    };

    explicit DataEntryPage(Host host, QWidget* parent = nullptr);

    // Button_in on the settings tab: opens the page for the archive named there.
    void Button_inClick();
    // Loads the archive's records into the table and the period list.
    void act_dataExecute();
    void StringGrid2Click();
    void Button_addClick();
    void Button_delClick();
    // Opens the dialog "导入记录" on the archive of the last load.
    void Button_importClick();
    void Button_backClick();
    // Writes the table back to the record file, sorted.
    void act_saveExecute();

    QWidget* Layout2;
    QLabel* Label4;
    ui::ImageButton* Button_back;
    ui::ItemList* ListBox3;
    ui::ChoiceCombo* Edit_qs;
    ui::ChoiceCombo* Edit_hm;
    ui::ImageButton* Button_del;
    ui::ImageButton* Button_add;
    ui::ImageButton* Button_import;
    QTableWidget* StringGrid2;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    RecordList& records() const;
    void emptyTable();
    void showRecords();
    // The page writes only to the file of an archive whose name it accepted at its last load.
    bool refuseWrite();
    QString enteredLine() const;

    Host host_;
    bool loadedSafeName_ = false;
};

} // namespace dravik
