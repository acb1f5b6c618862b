#include "pages/data_entry_page.h"

#include "pages/archive_name_check.h"
#include "pages/import_dialog.h"
#include "pages/page_geometry.h"
#include "storage/data_folder.h"
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

DataEntryPage::DataEntryPage(Host host, QWidget* parent) : QWidget(parent), host_(std::move(host)) {
    Layout2 = new ui::DragHeader(this);
    Layout2->setObjectName(QStringLiteral("Layout2"));
    Label4 = ui::makeLabel(QStringLiteral("数据录入"), ui::uiFont(20), Layout2);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setAlignment(Qt::AlignCenter);
    Label4->setAttribute(Qt::WA_TransparentForMouseEvents);
    Button_back = new ui::ImageButton(Layout2);
    Button_back->setObjectName(QStringLiteral("Button_back"));
    Button_back->setIcon(ui::imageIcon(ui::kImageBack));

    ListBox3 = new ui::ItemList(QStringLiteral("ListBox3"), this);
    Edit_qs = ui::makeCombo(ui::ChoiceCombo::Typing::Allowed, QStringLiteral("Edit_qs"));
    ListBox3->addRow(QStringLiteral("期数："), ui::kDodgerBlue);
    ListBox3->fill(Edit_qs, 65, 10);
    Edit_hm = ui::makeCombo(ui::ChoiceCombo::Typing::Allowed, QStringLiteral("Edit_hm"));
    ListBox3->addRow(QStringLiteral("号码："), ui::kDodgerBlue);
    ListBox3->fill(Edit_hm, 65, 10);
    ListBox3->addRow(QString(), ui::kDodgerBlue);
    Button_del = new ui::ImageButton;
    Button_del->setObjectName(QStringLiteral("Button_del"));
    Button_del->setIcon(ui::imageIcon(ui::kImageDelete));
    ListBox3->centre(Button_del, kRowButton, 0, 60);
    Button_add = new ui::ImageButton;
    Button_add->setObjectName(QStringLiteral("Button_add"));
    Button_add->setIcon(ui::imageIcon(ui::kImageAdd));
    ListBox3->centre(Button_add, kRowButton, 60, 0);
    Button_import = new ui::ImageButton;
    Button_import->setObjectName(QStringLiteral("Button_import"));
    Button_import->setIcon(ui::pictureIcon(ui::kImportResource));
    ListBox3->centre(Button_import, kRowButton, 180, 0);

    StringGrid2 = ui::makeStringGrid(QStringLiteral("StringGrid2"),
                                     {QStringLiteral("序"), QStringLiteral("期数"), QStringLiteral("号码")},
                                     {60, 180, 60}, this);
    for (ui::ChoiceCombo* field : {Edit_qs, Edit_hm})
        field->setValidator(new OneLineValidator(field));

    // Keyboard: back, the fields, add, import, delete, then the table; Enter in the number field adds, and
    // Enter on a row of the table copies it into the fields as a click does. A click on the table
    // leaves the focus in the field being typed into.
    StringGrid2->setFocusPolicy(Qt::TabFocus);
    ui::setTabChain({Button_back, Edit_qs, Edit_hm, Button_add, Button_import, Button_del, StringGrid2});

    // The fields are named by their captions, the buttons, which show pictures only, by what they do.
    Edit_qs->setAccessibleName(QStringLiteral("期数"));
    Edit_hm->setAccessibleName(QStringLiteral("号码"));
    Button_back->setAccessibleName(QStringLiteral("返回"));
    Button_back->setAccessibleDescription(QStringLiteral("保存记录并返回设置页"));
    Button_add->setAccessibleName(QStringLiteral("添加记录"));
    Button_add->setAccessibleDescription(QStringLiteral("添加或替换所填期数的记录"));
    Button_import->setAccessibleName(QStringLiteral("导入记录"));
    Button_import->setAccessibleDescription(QStringLiteral("从粘贴的文本或文件导入多期记录"));
    Button_del->setAccessibleName(QStringLiteral("删除记录"));
    Button_del->setAccessibleDescription(QStringLiteral("删除所填期数的记录"));
    StringGrid2->setAccessibleName(QStringLiteral("开奖记录"));

    // Saves raise file errors; they are shown here, before they could pass through Qt's frames.
    connect(Button_back, &QAbstractButton::clicked, this, ui::guarded([this] { Button_backClick(); }));
    connect(Button_add, &QAbstractButton::clicked, this, ui::guarded([this] { Button_addClick(); }));
    connect(Button_del, &QAbstractButton::clicked, this, ui::guarded([this] { Button_delClick(); }));
    connect(Button_import, &QAbstractButton::clicked, this, ui::guarded([this] { Button_importClick(); }));
    connect(Edit_hm->lineEdit(), &QLineEdit::returnPressed, this, ui::guarded([this] { Button_addClick(); }));
    connect(StringGrid2, &QAbstractItemView::clicked, this, &DataEntryPage::StringGrid2Click);
    connect(StringGrid2, &QAbstractItemView::activated, this, &DataEntryPage::StringGrid2Click);
}

void DataEntryPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Layout2->setGeometry(0, 0, width(), kHeaderHeight);
    Label4->setGeometry(0, 0, width(), kHeaderHeight);
    Button_back->setGeometry(10, 0, 45, kHeaderHeight);
    ListBox3->setGeometry(kSideMargin, kHeaderHeight, width() - 2 * kSideMargin, kListHeight);
    const int top = kHeaderHeight + kListHeight;
    StringGrid2->setGeometry(kSideMargin, top, width() - 2 * kSideMargin, height() - top);
}

RecordList& DataEntryPage::records() const {
    RecordList* list = host_.records();
    Q_ASSERT(list);
    return *list;
}

void DataEntryPage::Button_inClick() {
    const QString name = host_.archiveName();
    if (name.isEmpty()) {
        dialogs::showMessage(host_.dialogOwner, QStringLiteral("请先设置档案名"));
        return;
    }
    if (refuseUnsafeArchiveName(host_.dialogOwner, name))
        return;
    Edit_qs->setText(QString());
    Edit_hm->setText(QString());
    host_.showPage();
    host_.runAction(QStringLiteral("act_data"));
}

void DataEntryPage::act_dataExecute() {
    const QString name = host_.archiveName();
    loadedSafeName_ = false;
    if (refuseUnsafeArchiveName(host_.dialogOwner, name)) {
        emptyTable();
        return;
    }
    loadedSafeName_ = true;
    RecordList& list = records();
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
    Edit_qs->replaceItems({});
    StringGrid2->setRowCount(0);
}

void DataEntryPage::showRecords() {
    const QStringList& lines = records().lines();
    const int n = int(lines.size());
    StringGrid2->setRowCount(0);
    StringGrid2->setRowCount(n);
    QStringList periods;
    for (int r = 0; r < n; ++r) {
        const QString& line = lines.at(n - 1 - r);
        const QString period = periodOf(line);
        StringGrid2->setItem(r, 0, ui::gridCell(QString::number(n - r)));
        StringGrid2->setItem(r, 1, ui::gridCell(period));
        StringGrid2->setItem(r, 2, ui::gridCell(drawNumberOf(line)));
        const bool listed = std::any_of(periods.cbegin(), periods.cend(),
                                        [&period](const QString& p) { return sameRecord(p, period); });
        if (!listed)
            periods.append(period);
    }
    Edit_qs->replaceItems(periods);
}

void DataEntryPage::StringGrid2Click() {
    const int row = StringGrid2->currentRow();
    if (row < 0 || !StringGrid2->selectionModel()->isRowSelected(row, {}))
        return;
    const QTableWidgetItem* top = StringGrid2->item(0, 0);
    if (!top || top->text().isEmpty())
        return;
    const QTableWidgetItem* period = StringGrid2->item(row, 1);
    const QTableWidgetItem* number = StringGrid2->item(row, 2);
    Edit_qs->setText(period ? period->text() : QString());
    Edit_hm->setText(number ? number->text() : QString());
}

QString DataEntryPage::enteredLine() const {
    return Edit_qs->currentText() + QLatin1Char('.') + Edit_hm->currentText();
}

bool DataEntryPage::refuseWrite() {
    if (loadedSafeName_)
        return false;
    dialogs::showMessage(host_.dialogOwner, kUnsafeArchiveNameMessage);
    return true;
}

void DataEntryPage::Button_addClick() {
    if (Edit_qs->currentText().isEmpty() || Edit_hm->currentText().isEmpty()) {
        dialogs::showMessage(host_.dialogOwner, QStringLiteral("请先填写期数和号码"));
        return;
    }
    if (refuseWrite())
        return;
    RecordList& list = records();
    if (const std::optional<int> found = list.findPeriod(Edit_qs->currentText())) {
        // The question is modal and answered before confirm returns, so the index still holds.
        const int index = *found;
        dialogs::confirm(host_.dialogOwner, QStringLiteral("记录已存在，是否更改？"),
                         [this, index](int answer) {
                             if (answer != dialogs::kYes)
                                 return;
                             RecordList& list = records();
                             list.replaceRecord(index, enteredLine());
                             list.sortRecords();
                             list.save();
                             host_.runAction(QStringLiteral("act_data"));
                         });
        return;
    }
    list.addRecord(enteredLine());
    list.sortRecords();
    list.save();
    host_.runAction(QStringLiteral("act_data"));
}

void DataEntryPage::Button_delClick() {
    const QString period = Edit_qs->currentText();
    if (period.isEmpty() || StringGrid2->rowCount() == 0) {
        dialogs::showMessage(host_.dialogOwner, QStringLiteral("未选择期数或无记录"));
        return;
    }
    if (refuseWrite())
        return;
    RecordList& list = records();
    if (list.removePeriod(period) == 0) {
        dialogs::showMessage(host_.dialogOwner, QStringLiteral("记录不存在"));
        return;
    }
    Edit_qs->setText(QString());
    Edit_hm->setText(QString());
    // Unsorted: the lines that stay keep their order.
    list.save();
    host_.runAction(QStringLiteral("act_data"));
}

void DataEntryPage::Button_importClick() {
    if (refuseWrite())
        return;
    const QString path = records().file();
    auto* dialog = new ImportDialog(
        readRecordBytes(path), path == recordFilePath(kBuiltInArchive),
        [this, path](const ImportedRecords& imported) {
            // The whole file, not only the window the list holds; then the list is loaded afresh.
            importRecords(path, imported, records().encoding());
            host_.runAction(QStringLiteral("act_data"));
        },
        host_.dialogOwner);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void DataEntryPage::Button_backClick() {
    host_.runAction(QStringLiteral("act_save"));
    host_.showMainPage();
}

void DataEntryPage::act_saveExecute() {
    const int rows = StringGrid2->rowCount();
    if (rows == 0)
        return;
    if (refuseWrite())
        return;
    RecordList& list = records();
    list.clear();
    for (int r = 0; r < rows; ++r) {
        const QTableWidgetItem* period = StringGrid2->item(r, 1);
        const QTableWidgetItem* number = StringGrid2->item(r, 2);
        list.append((period ? period->text() : QString()) + QLatin1Char('.') +
                    (number ? number->text() : QString()));
    }
    list.sortRecords();
    list.save();
}

} // namespace dravik
