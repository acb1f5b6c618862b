#include "pages/settings_tab.h"

#include "analysis/analysis_run.h"
#include "analysis/division_settings.h"
#include "pages/archive_name_check.h"
#include "pages/settings_rules.h"
#include "storage/archive_settings.h"
#include "storage/data_folder.h"
#include "storage/integer_text.h"
#include "ui/choice_combo.h"
#include "ui/dialogs.h"
#include "ui/handler_guard.h"
#include "ui/image_button.h"
#include "ui/image_list.h"
#include "ui/item_list.h"
#include "ui/ui_style.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <utility>

namespace dravik {

namespace {

QStringList numberTexts(int from, int to) {
    QStringList texts;
    for (int n = from; n <= to; ++n)
        texts.append(QString::number(n));
    return texts;
}

// Tab stops once in a group of radio buttons, at its checked button (the first while none is), and the
// arrow keys move within the group. Qt would instead stop at whichever button last had the focus.
void keepTabStopOnChecked(QButtonGroup* group) {
    const auto update = [group] {
        const QList<QAbstractButton*> buttons = group->buttons();
        QAbstractButton* stop = group->checkedButton() ? group->checkedButton() : buttons.value(0);
        for (QAbstractButton* button : buttons)
            button->setFocusPolicy(button == stop ? Qt::StrongFocus : Qt::ClickFocus);
    };
    QObject::connect(group, &QButtonGroup::buttonToggled, group, update);
    update();
}

} // namespace

SettingsTab::SettingsTab(Host host, QWidget* parent) : QWidget(parent), host_(std::move(host)) {
    ListBox2 = new ui::ItemList(QStringLiteral("ListBox2"), this);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 0, 10, 0);
    layout->addWidget(ListBox2);

    QLabel* nameHeader = ListBox2->addGroupHeader(QStringLiteral("档案名"));
    Edit_name = ui::makeCombo(ui::ChoiceCombo::Typing::Allowed, QStringLiteral("Edit_name"));
    Edit_name->addItem(kBuiltInArchive);
    Edit_name->setEditText(kBuiltInArchive);
    ListBox2->addRow(QString(), ui::kDodgerBlue);
    ListBox2->fill(Edit_name, 15, 10);
    // The name's row has no caption of its own: its group's header captions it.
    nameHeader->setBuddy(Edit_name);

    ListBox2->addRow(QStringLiteral("数据录入"), ui::kText);
    Button_in = new ui::ImageButton;
    Button_in->setObjectName(QStringLiteral("Button_in"));
    Button_in->setIcon(ui::imageIcon(ui::kImageRight));
    ListBox2->pinRight(Button_in, QSize(45, 40), 10);

    ListBox2->addGroupHeader(QStringLiteral("值设置（Ｘ÷Ａ＝Ｂ...Ｃ）"));
    Edit_x = addValueRow(QStringLiteral("Ｘ＝"), QStringLiteral("Edit_x"));
    Edit_a = addValueRow(QStringLiteral("Ａ＝"), QStringLiteral("Edit_a"));
    Edit_b = addValueRow(QStringLiteral("Ｂ＝"), QStringLiteral("Edit_b"));
    Edit_c = addValueRow(QStringLiteral("Ｃ＝"), QStringLiteral("Edit_c"));

    auto* r1 = new QButtonGroup(this);
    r1->setObjectName(QStringLiteral("r1"));
    ListBox2->addGroupHeader(QStringLiteral("开始值"));
    RadioButton1 = addRadioRow(QStringLiteral("0"), QStringLiteral("RadioButton1"), r1);
    RadioButton2 = addRadioRow(QStringLiteral("1"), QStringLiteral("RadioButton2"), r1);

    auto* r2 = new QButtonGroup(this);
    r2->setObjectName(QStringLiteral("r2"));
    ListBox2->addGroupHeader(QStringLiteral("显示模式"));
    RadioButton3 = addRadioRow(QStringLiteral("顺序"), QStringLiteral("RadioButton3"), r2);
    RadioButton4 = addRadioRow(QStringLiteral("间隔"), QStringLiteral("RadioButton4"), r2);

    auto* r3 = new QButtonGroup(this);
    r3->setObjectName(QStringLiteral("r3"));
    ListBox2->addGroupHeader(QStringLiteral("分析期数"));
    RadioButton5 = addRadioRow(QStringLiteral("30期"), QStringLiteral("RadioButton5"), r3);
    RadioButton6 = addRadioRow(QStringLiteral("60期"), QStringLiteral("RadioButton6"), r3);
    RadioButton7 = addRadioRow(QStringLiteral("100期"), QStringLiteral("RadioButton7"), r3);

    // Each control is named by its row's caption (the radio buttons by their group's too), which a
    // screen reader says instead of a value or a picture.
    Edit_name->setAccessibleDescription(QStringLiteral("档案名"));
    const std::pair<QWidget*, QString> spoken[] = {
        {Edit_name, QStringLiteral("档案名")},
        {Button_in, QStringLiteral("数据录入")},
        {Edit_x, QStringLiteral("X")},
        {Edit_a, QStringLiteral("A")},
        {Edit_b, QStringLiteral("B")},
        {Edit_c, QStringLiteral("C")},
        {RadioButton1, QStringLiteral("开始值 0")},
        {RadioButton2, QStringLiteral("开始值 1")},
        {RadioButton3, QStringLiteral("显示模式 顺序")},
        {RadioButton4, QStringLiteral("显示模式 间隔")},
        {RadioButton5, QStringLiteral("分析期数 30期")},
        {RadioButton6, QStringLiteral("分析期数 60期")},
        {RadioButton7, QStringLiteral("分析期数 100期")},
    };
    for (const auto& [control, name] : spoken)
        control->setAccessibleName(name);
    for (QButtonGroup* group : {r1, r2, r3})
        keepTabStopOnChecked(group);
    Button_in->setAccessibleDescription(QStringLiteral("打开数据录入页，编辑本档案的开奖记录"));

    for (ui::ChoiceCombo* combo : {Edit_name, Edit_x, Edit_a, Edit_b, Edit_c})
        connect(combo, &QComboBox::currentTextChanged, this, &SettingsTab::Edit_nameChange);
    for (QRadioButton* radio :
         {RadioButton1, RadioButton2, RadioButton3, RadioButton4, RadioButton5, RadioButton6, RadioButton7})
        connect(radio, &QRadioButton::toggled, this, &SettingsTab::Edit_nameChange);
    connect(Edit_name, &ui::ChoiceCombo::popupClosed, this,
            ui::guarded([this] { host_.runAction(QStringLiteral("act_datset")); }));
}

ui::ChoiceCombo* SettingsTab::addValueRow(const QString& caption, const QString& name) {
    ui::ChoiceCombo* combo = ui::makeCombo(ui::ChoiceCombo::Typing::ReadOnly, name);
    ListBox2->addRow(caption, ui::kDodgerBlue);
    ListBox2->fill(combo, 50, 10);
    return combo;
}

QRadioButton* SettingsTab::addRadioRow(const QString& caption, const QString& name, QButtonGroup* group) {
    auto* radio = new QRadioButton;
    radio->setObjectName(name);
    radio->setCursor(Qt::PointingHandCursor);
    radio->setStyleSheet(QStringLiteral("QRadioButton { padding-left: 14px; }"));
    group->addButton(radio);
    ListBox2->addRow(caption, ui::kDodgerBlue);
    ListBox2->pinRight(radio, QSize(45, 40), 8);
    return radio;
}

void SettingsTab::act_seteditExecute() {
    const QStringList names = listArchives();
    if (!names.isEmpty()) {
        Edit_name->replaceItems(names);
        for (ui::ChoiceCombo* combo : {Edit_x, Edit_a, Edit_b, Edit_c})
            combo->replaceItems({});
    }
    Edit_x->appendItems(numberTexts(10, 60));
    Edit_a->appendItems(numberTexts(1, 60));
    Edit_b->appendItems(numberTexts(1, 60));
    Edit_c->appendItems(numberTexts(0, 60));
    if (host_.numberCombo)
        host_.numberCombo->appendItems(numberTexts(0, 60));
}

void SettingsTab::act_datsetExecute() {
    const std::optional<StoredSettings> stored = loadArchiveSettings(archiveName());
    if (!stored)
        return;
    Edit_x->setText(stored->x);
    Edit_a->setText(stored->a);
    Edit_b->setText(stored->b);
    Edit_c->setText(stored->c);
    (startValueChoice(stored->startValue) == 0 ? RadioButton1 : RadioButton2)->setChecked(true);
    (displayModeChoice(stored->displayMode) == 0 ? RadioButton3 : RadioButton4)->setChecked(true);
    QRadioButton* depthButtons[] = {RadioButton5, RadioButton6, RadioButton7};
    depthButtons[depthChoice(stored->depth)]->setChecked(true);
}

void SettingsTab::Edit_nameChange() {
    if (Edit_name->currentText() == kBuiltInArchive)
        Edit_x->setText(QStringLiteral("36"));
    host_.saveButton->setEnabled(true);
}

void SettingsTab::act_savesetExecute() {
    SavedSettings settings;
    settings.x = toInteger(Edit_x->currentText());
    settings.a = toInteger(Edit_a->currentText());
    settings.b = toInteger(Edit_b->currentText());
    settings.c = toInteger(Edit_c->currentText());
    // The analysis's own check: values it would refuse are never saved.
    if (!isUsableDivision({settings.x, settings.a, settings.b, settings.c})) {
        dialogs::showMessage(host_.dialogOwner, QStringLiteral("设置错，请检查X、A、B、C值"));
        return;
    }
    const QString name = archiveName();
    if (refuseUnsafeArchiveName(host_.dialogOwner, name))
        return;
    settings.startValue = RadioButton1->isChecked() ? 0 : 1;
    settings.displayMode = RadioButton3->isChecked() ? 0 : 1;
    settings.depth = RadioButton5->isChecked() ? 0 : RadioButton6->isChecked() ? 1 : 2;
    saveArchiveSettings(name, settings);
    host_.saveButton->setEnabled(false);
    *host_.savedName = name;
    host_.runAction(QStringLiteral("act_grid"));
}

void SettingsTab::act_savechangeExecute() {
    host_.selectSettingsTab();
    dialogs::confirm(host_.dialogOwner, QStringLiteral("设置已更改，是否保存？"), [this](int answer) {
        if (answer == dialogs::kYes) {
            host_.runAction(QStringLiteral("act_saveset"));
            return;
        }
        Edit_name->setText(*host_.savedName);
        host_.runAction(QStringLiteral("act_datset"));
        // After the load, which itself marks the settings changed.
        host_.saveButton->setEnabled(false);
    });
}

void SettingsTab::selectArchiveEntry(const QString& name) {
    const int index = Edit_name->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0)
        Edit_name->setText(Edit_name->itemText(index));
}

QString SettingsTab::archiveName() const {
    return Edit_name->currentText();
}

int SettingsTab::depth() const {
    if (RadioButton5->isChecked())
        return 30;
    if (RadioButton6->isChecked())
        return 60;
    if (RadioButton7->isChecked())
        return 100;
    return 30;
}

int SettingsTab::startValue() const {
    if (RadioButton1->isChecked())
        return 0;
    return RadioButton2->isChecked() ? 1 : 0;
}

bool SettingsTab::intervalMode() const {
    return !RadioButton3->isChecked() && RadioButton4->isChecked();
}

AnalysisInputs SettingsTab::analysisInputs() const {
    AnalysisInputs inputs;
    inputs.archive = archiveName();
    inputs.depth = depth();
    inputs.x = Edit_x->currentText();
    inputs.a = Edit_a->currentText();
    inputs.b = Edit_b->currentText();
    inputs.c = Edit_c->currentText();
    inputs.startValue = startValue();
    inputs.mode = intervalMode() ? DisplayMode::Interval : DisplayMode::Sequential;
    return inputs;
}

QList<QWidget*> SettingsTab::focusChain() const {
    return {Edit_name,    Button_in,    Edit_x,       Edit_a,       Edit_b,       Edit_c,      RadioButton1,
            RadioButton2, RadioButton3, RadioButton4, RadioButton5, RadioButton6, RadioButton7};
}

} // namespace dravik
