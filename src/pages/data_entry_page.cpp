#include "pages/data_entry_page.h"

#include "pages/archive_name_check.h"
#include "pages/import_dialog.h"
#include "pages/page_geometry.h"
#include "storage/archive_settings.h"
#include "storage/data_folder.h"
#include "storage/entered_numbers.h"
#include "storage/error.h"
#include "storage/record_file.h"
#include "storage/record_import.h"
#include "storage/record_list.h"
#include "storage/record_order.h"
#include "ui/choice_combo.h"
#include "ui/dialogs.h"
#include "ui/drag_header.h"
#include "ui/handler_guard.h"
#include "ui/image_button.h"
#include "ui/image_list.h"
#include "ui/item_list.h"
#include "ui/picture.h"
#include "ui/string_grid.h"
#include "ui/tab_chain.h"
#include "ui/ui_style.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QResizeEvent>
#include <QTableWidget>
#include <QValidator>
#include <algorithm>

namespace dravik {

namespace {

constexpr int kListHeight = 138;
constexpr int kSideMargin = 10;
constexpr QSize kRowButton(45, 45);
constexpr int kIndexColumn = 60;
constexpr int kPeriodColumn = 180;
constexpr int kNumberColumn = 60;

// A record is one line of its file: a field that held a line end, or a NUL that ends the text, would
// write a record that reads back as several, or hide every line after it. Pasted text with one is refused.
class OneLineValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        for (const QChar ch : std::as_const(input)) {
            if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n') || ch.unicode() == 0)
                return Invalid;
        }
        return Acceptable;
    }
};

} // namespace

DataEntryPage::DataEntryPage(Host host, QWidget* parent)
    : QWidget(parent), host_(std::move(host)), records_(std::make_unique<RecordList>()) {
    header_ = new ui::DragHeader(this);
    header_->setObjectName(QStringLiteral("Layout2"));
    title_ = ui::makeLabel(QStringLiteral("数据录入"), ui::uiFont(20), header_);
    title_->setObjectName(QStringLiteral("Label4"));
    title_->setAlignment(Qt::AlignCenter);
    title_->setAttribute(Qt::WA_TransparentForMouseEvents);
    backButton_ = new ui::ImageButton(header_);
    backButton_->setObjectName(QStringLiteral("Button_back"));
    backButton_->setIcon(ui::imageIcon(ui::kImageBack));

    fields_ = new ui::ItemList(QStringLiteral("ListBox3"), this);
    periodCombo_ = ui::makeCombo(ui::ChoiceCombo::Typing::Allowed, QStringLiteral("Edit_qs"));
    fields_->addRow(QStringLiteral("期数："), ui::kDodgerBlue);
    fields_->fill(periodCombo_, 65, 10);
    numberCombo_ = ui::makeCombo(ui::ChoiceCombo::Typing::Allowed, QStringLiteral("Edit_hm"));
    fields_->addRow(QStringLiteral("号码："), ui::kDodgerBlue);
    fields_->fill(numberCombo_, 65, 10);
    fields_->addRow(QString(), ui::kDodgerBlue);
    deleteButton_ = new ui::ImageButton;
    deleteButton_->setObjectName(QStringLiteral("Button_del"));
    deleteButton_->setIcon(ui::imageIcon(ui::kImageDelete));
    fields_->centre(deleteButton_, kRowButton, 0, 60);
    addButton_ = new ui::ImageButton;
    addButton_->setObjectName(QStringLiteral("Button_add"));
    addButton_->setIcon(ui::imageIcon(ui::kImageAdd));
    fields_->centre(addButton_, kRowButton, 60, 0);
    importButton_ = new ui::ImageButton;
    importButton_->setObjectName(QStringLiteral("Button_import"));
    importButton_->setIcon(ui::pictureIcon(ui::kImportResource));
    fields_->centre(importButton_, kRowButton, 180, 0);
    updateButton_ = new ui::ImageButton;
    updateButton_->setObjectName(QStringLiteral("Button_update"));
    updateButton_->setIcon(ui::pictureIcon(ui::kUpdateResource));
    updateButton_->setEnabled(false);
    fields_->centre(updateButton_, kRowButton, 300, 0);

    recordTable_ = ui::makeStringGrid(QStringLiteral("StringGrid2"),
                                      {QStringLiteral("序"), QStringLiteral("期数"), QStringLiteral("号码")},
                                      {kIndexColumn, kPeriodColumn, kNumberColumn}, this);
    for (ui::ChoiceCombo* field : {periodCombo_, numberCombo_})
        field->setValidator(new OneLineValidator(field));

    // Keyboard: back, the fields, add, import, delete, then the table; Enter in the number field adds, and
    // Enter on a row of the table copies it into the fields as a click does. A click on the table
    // leaves the focus in the field being typed into.
    recordTable_->setFocusPolicy(Qt::TabFocus);
    ui::setTabChain({backButton_, periodCombo_, numberCombo_, addButton_, importButton_, updateButton_,
                     deleteButton_, recordTable_});

    // The fields are named by their captions, the buttons, which show pictures only, by what they do.
    periodCombo_->setAccessibleName(QStringLiteral("期数"));
    numberCombo_->setAccessibleName(QStringLiteral("号码"));
    backButton_->setAccessibleName(QStringLiteral("返回"));
    backButton_->setAccessibleDescription(QStringLiteral("保存记录并返回设置页"));
    addButton_->setAccessibleName(QStringLiteral("添加记录"));
    addButton_->setAccessibleDescription(QStringLiteral("添加或替换所填期数的记录"));
    importButton_->setAccessibleName(QStringLiteral("导入记录"));
    importButton_->setAccessibleDescription(QStringLiteral("从粘贴的文本、文件或网址导入多期记录"));
    updateButton_->setAccessibleName(QStringLiteral("更新"));
    updateButton_->setAccessibleDescription(QStringLiteral("从记住的网址读取开奖记录并导入"));
    deleteButton_->setAccessibleName(QStringLiteral("删除记录"));
    deleteButton_->setAccessibleDescription(QStringLiteral("删除所填期数的记录"));
    recordTable_->setAccessibleName(QStringLiteral("开奖记录"));

    // Saves raise file errors; they are shown here, before they could pass through Qt's frames.
    connect(backButton_, &QAbstractButton::clicked, this, ui::guarded([this] { goBack(); }));
    connect(addButton_, &QAbstractButton::clicked, this, ui::guarded([this] { addRecord(); }));
    connect(deleteButton_, &QAbstractButton::clicked, this, ui::guarded([this] { deleteRecord(); }));
    connect(importButton_, &QAbstractButton::clicked, this,
            ui::guarded([this] { openImportDialog(ImportStart::Pasting); }));
    connect(updateButton_, &QAbstractButton::clicked, this,
            ui::guarded([this] { openImportDialog(ImportStart::Updating); }));
    connect(numberCombo_->lineEdit(), &QLineEdit::returnPressed, this, ui::guarded([this] { addRecord(); }));
    connect(recordTable_, &QAbstractItemView::clicked, this, &DataEntryPage::copySelectedRecord);
    connect(recordTable_, &QAbstractItemView::activated, this, &DataEntryPage::copySelectedRecord);
}

void DataEntryPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    header_->setGeometry(0, 0, width(), kHeaderHeight);
    title_->setGeometry(0, 0, width(), kHeaderHeight);
    backButton_->setGeometry(10, 0, 45, kHeaderHeight);
    fields_->setGeometry(kSideMargin, kHeaderHeight, width() - 2 * kSideMargin, kListHeight);
    const int top = kHeaderHeight + kListHeight;
    recordTable_->setGeometry(kSideMargin, top, width() - 2 * kSideMargin, height() - top);
    // A draw of several numbers takes the room a wider window gives.
    if (recordTable_->rowCount() > 0)
        fitNumberColumn();
}

DataEntryPage::~DataEntryPage() = default;

void DataEntryPage::setNumberChoices(const QStringList& numbers) {
    numberCombo_->appendItems(numbers);
}

void DataEntryPage::openForArchive() {
    const QString name = host_.archiveName();
    if (name.isEmpty()) {
        dialogs::showMessage(host_.dialogOwner, QStringLiteral("请先设置档案名"));
        return;
    }
    if (refuseUnsafeArchiveName(host_.dialogOwner, name))
        return;
    periodCombo_->setText(QString());
    numberCombo_->setText(QString());
    recordsChanged_ = false;
    host_.showPage();
    host_.runAction(QStringLiteral("act_data"));
}

void DataEntryPage::loadRecords() {
    const QString name = host_.archiveName();
    loadedSafeName_ = false;
    updateButton_->setEnabled(false);
    if (refuseUnsafeArchiveName(host_.dialogOwner, name)) {
        emptyTable();
        return;
    }
    loadedSafeName_ = true;
    updateButton_->setEnabled(loadArchiveSource(name).has_value());
    RecordList& list = *records_;
    bool found = false;
    try {
        found = list.load(name);
    } catch (const Error&) {
        // The table must not go on showing another archive's records: going back would write them.
        emptyTable();
        throw;
    }
    if (!found) {
        emptyTable();
        dialogs::showMessage(host_.dialogOwner, QStringLiteral("Dravik不存在，请录入！"));
        return;
    }
    if (list.lines().isEmpty()) {
        emptyTable();
        return;
    }
    showRecords();
}

void DataEntryPage::emptyTable() {
    periodCombo_->replaceItems({});
    recordTable_->setRowCount(0);
}

void DataEntryPage::showRecords() {
    const QStringList& lines = records_->lines();
    const int n = int(lines.size());
    recordTable_->setRowCount(0);
    recordTable_->setRowCount(n);
    QStringList periods;
    for (int r = 0; r < n; ++r) {
        const QString& line = lines.at(n - 1 - r);
        const QString period = periodOf(line);
        recordTable_->setItem(r, 0, ui::gridCell(QString::number(n - r)));
        recordTable_->setItem(r, 1, ui::gridCell(period));
        recordTable_->setItem(r, 2, ui::gridCell(drawNumberOf(line)));
        const bool listed = std::any_of(periods.cbegin(), periods.cend(),
                                        [&period](const QString& p) { return sameRecord(p, period); });
        if (!listed)
            periods.append(period);
    }
    periodCombo_->replaceItems(periods);
    fitNumberColumn();
}

void DataEntryPage::fitNumberColumn() {
    int period = kPeriodColumn;
    int number = kNumberColumn;
    if (host_.numbersPerDraw() > 1) {
        // The whole of a draw of several numbers stays in view: the column grows to its widest text,
        // into the room right of the columns, then into the period column's.
        const QFontMetrics metrics(ui::uiFont(15));
        for (int r = 0; r < recordTable_->rowCount(); ++r)
            number = std::max(number, metrics.horizontalAdvance(recordTable_->item(r, 2)->text()) + 16);
        const int room = std::max(recordTable_->width(), kIndexColumn + kPeriodColumn + kNumberColumn);
        number = std::min(number, room - kIndexColumn - kNumberColumn);
        period = std::min(period, room - kIndexColumn - number);
    }
    recordTable_->setColumnWidth(1, period);
    recordTable_->setColumnWidth(2, number);
}

void DataEntryPage::copySelectedRecord() {
    const int row = recordTable_->currentRow();
    if (row < 0 || !recordTable_->selectionModel()->isRowSelected(row, {}))
        return;
    const QTableWidgetItem* top = recordTable_->item(0, 0);
    if (!top || top->text().isEmpty())
        return;
    const QTableWidgetItem* period = recordTable_->item(row, 1);
    const QTableWidgetItem* number = recordTable_->item(row, 2);
    periodCombo_->setText(period ? period->text() : QString());
    numberCombo_->setText(number ? number->text() : QString());
}

std::optional<QString> DataEntryPage::enteredNumber() {
    if (host_.numbersPerDraw() == 1)
        return numberCombo_->currentText();
    const EnteredDraw draw = enteredDraw(numberCombo_->currentText(), host_.archiveNumbers());
    if (!draw.message.isEmpty()) {
        dialogs::showMessage(host_.dialogOwner, draw.message);
        return std::nullopt;
    }
    return draw.number;
}

void DataEntryPage::recordsWritten() {
    recordsChanged_ = true;
    host_.runAction(QStringLiteral("act_data"));
}

bool DataEntryPage::refuseWrite() {
    if (loadedSafeName_)
        return false;
    dialogs::showMessage(host_.dialogOwner, kUnsafeArchiveNameMessage);
    return true;
}

void DataEntryPage::addRecord() {
    // A draw of several numbers is checked first: nothing else happens with numbers that are not one.
    const std::optional<QString> number = enteredNumber();
    if (!number)
        return;
    const QString line = periodCombo_->currentText() + QLatin1Char('.') + *number;
    if (periodCombo_->currentText().isEmpty() || number->isEmpty()) {
        dialogs::showMessage(host_.dialogOwner, QStringLiteral("请先填写期数和号码"));
        return;
    }
    if (refuseWrite())
        return;
    RecordList& list = *records_;
    if (const std::optional<int> found = list.findPeriod(periodCombo_->currentText())) {
        // The question is modal and answered before confirm returns, so the index still holds.
        const int index = *found;
        dialogs::confirm(host_.dialogOwner, QStringLiteral("记录已存在，是否更改？"),
                         [this, index, line](int answer) {
                             if (answer != dialogs::kYes)
                                 return;
                             RecordList& list = *records_;
                             list.replaceRecord(index, line);
                             list.sortRecords();
                             list.save();
                             recordsWritten();
                         });
        return;
    }
    list.addRecord(line);
    list.sortRecords();
    list.save();
    recordsWritten();
}

void DataEntryPage::deleteRecord() {
    const QString period = periodCombo_->currentText();
    if (period.isEmpty() || recordTable_->rowCount() == 0) {
        dialogs::showMessage(host_.dialogOwner, QStringLiteral("未选择期数或无记录"));
        return;
    }
    if (refuseWrite())
        return;
    RecordList& list = *records_;
    if (list.removePeriod(period) == 0) {
        dialogs::showMessage(host_.dialogOwner, QStringLiteral("记录不存在"));
        return;
    }
    periodCombo_->setText(QString());
    numberCombo_->setText(QString());
    // Unsorted: the lines that stay keep their order.
    list.save();
    recordsWritten();
}

void DataEntryPage::openImportDialog(ImportStart start) {
    if (refuseWrite())
        return;
    const QString archive = host_.archiveName();
    const QString path = records_->file();
    auto* dialog = new ImportDialog(
        readRecordBytes(path), path == recordFilePath(kBuiltInArchive), host_.archiveNumbers(),
        loadArchiveSource(archive),
        [this, path, archive](const ImportedRecords& imported, const std::optional<ArchiveSource>& source) {
            // The whole file, not only the window the list holds; then the list is loaded afresh.
            importRecords(path, imported, records_->encoding());
            // Where the history came from, once it is in.
            if (source)
                saveArchiveSource(archive, *source);
            recordsWritten();
        },
        host_.dialogOwner);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
    if (start == ImportStart::Updating)
        dialog->readRememberedSource();
}

void DataEntryPage::goBack() {
    host_.runAction(QStringLiteral("act_save"));
    host_.showMainPage();
    // The analysis shows the records as they now are, not as they were when it last ran.
    if (recordsChanged_) {
        recordsChanged_ = false;
        host_.runAction(QStringLiteral("act_grid"));
    }
}

void DataEntryPage::saveRecords() {
    const int rows = recordTable_->rowCount();
    if (rows == 0)
        return;
    if (refuseWrite())
        return;
    RecordList& list = *records_;
    list.clear();
    for (int r = 0; r < rows; ++r) {
        const QTableWidgetItem* period = recordTable_->item(r, 1);
        const QTableWidgetItem* number = recordTable_->item(r, 2);
        list.append((period ? period->text() : QString()) + QLatin1Char('.') +
                    (number ? number->text() : QString()));
    }
    list.sortRecords();
    list.save();
}

} // namespace dravik
