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
#include <QLineEdit>
#include <QRadioButton>
#include <QScopeGuard>
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
    list_ = new ui::ItemList(QStringLiteral("ListBox2"), this);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 0, 10, 0);
    layout->addWidget(list_);

    QLabel* nameHeader = list_->addGroupHeader(QStringLiteral("档案名"));
    nameCombo_ = ui::makeCombo(ui::ChoiceCombo::Typing::Allowed, QStringLiteral("Edit_name"));
    nameCombo_->addItem(kBuiltInArchive);
    nameCombo_->setEditText(kBuiltInArchive);
    list_->addRow(QString(), ui::kDodgerBlue);
    list_->fill(nameCombo_, 15, 10);
    // The name's row has no caption of its own: its group's header captions it.
    nameHeader->setBuddy(nameCombo_);

    list_->addRow(QStringLiteral("数据录入"), ui::kText);
    dataEntryButton_ = new ui::ImageButton;
    dataEntryButton_->setObjectName(QStringLiteral("Button_in"));
    dataEntryButton_->setIcon(ui::imageIcon(ui::kImageRight));
    list_->pinRight(dataEntryButton_, QSize(45, 40), 10);
    // The row reads as the way to the page: a click on its caption goes there too.
    list_->clickWithRow(dataEntryButton_);

    list_->addGroupHeader(QStringLiteral("值设置（Ｘ÷Ａ＝Ｂ...Ｃ）"));
    xCombo_ = addValueRow(QStringLiteral("Ｘ＝"), QStringLiteral("Edit_x"));
    aCombo_ = addValueRow(QStringLiteral("Ａ＝"), QStringLiteral("Edit_a"));
    bCombo_ = addValueRow(QStringLiteral("Ｂ＝"), QStringLiteral("Edit_b"));
    cCombo_ = addValueRow(QStringLiteral("Ｃ＝"), QStringLiteral("Edit_c"));

    auto* startValueGroup = new QButtonGroup(this);
    startValueGroup->setObjectName(QStringLiteral("r1"));
    list_->addGroupHeader(QStringLiteral("开始值"));
    fromZeroButton_ = addRadioRow(QStringLiteral("0"), QStringLiteral("RadioButton1"), startValueGroup);
    fromOneButton_ = addRadioRow(QStringLiteral("1"), QStringLiteral("RadioButton2"), startValueGroup);

    auto* modeGroup = new QButtonGroup(this);
    modeGroup->setObjectName(QStringLiteral("r2"));
    list_->addGroupHeader(QStringLiteral("显示模式"));
    sequentialButton_ = addRadioRow(QStringLiteral("顺序"), QStringLiteral("RadioButton3"), modeGroup);
    intervalButton_ = addRadioRow(QStringLiteral("间隔"), QStringLiteral("RadioButton4"), modeGroup);

    auto* depthGroup = new QButtonGroup(this);
    depthGroup->setObjectName(QStringLiteral("r3"));
    list_->addGroupHeader(QStringLiteral("分析期数"));
    depth30Button_ = addRadioRow(QStringLiteral("30期"), QStringLiteral("RadioButton5"), depthGroup);
    depth60Button_ = addRadioRow(QStringLiteral("60期"), QStringLiteral("RadioButton6"), depthGroup);
    depth100Button_ = addRadioRow(QStringLiteral("100期"), QStringLiteral("RadioButton7"), depthGroup);

    list_->addGroupHeader(QStringLiteral("每期开奖号码数"));
    kCombo_ = addValueRow(QStringLiteral("K＝"), QStringLiteral("Edit_k"));

    // Each control is named by its row's caption (the radio buttons by their group's too), which a
    // screen reader says instead of a value or a picture.
    nameCombo_->setAccessibleDescription(QStringLiteral("档案名"));
    const std::pair<QWidget*, QString> spoken[] = {
        {nameCombo_, QStringLiteral("档案名")},
        {dataEntryButton_, QStringLiteral("数据录入")},
        {xCombo_, QStringLiteral("X")},
        {aCombo_, QStringLiteral("A")},
        {bCombo_, QStringLiteral("B")},
        {cCombo_, QStringLiteral("C")},
        {kCombo_, QStringLiteral("K")},
        {fromZeroButton_, QStringLiteral("开始值 0")},
        {fromOneButton_, QStringLiteral("开始值 1")},
        {sequentialButton_, QStringLiteral("显示模式 顺序")},
        {intervalButton_, QStringLiteral("显示模式 间隔")},
        {depth30Button_, QStringLiteral("分析期数 30期")},
        {depth60Button_, QStringLiteral("分析期数 60期")},
        {depth100Button_, QStringLiteral("分析期数 100期")},
    };
    for (const auto& [control, name] : spoken)
        control->setAccessibleName(name);
    for (QButtonGroup* group : {startValueGroup, modeGroup, depthGroup})
        keepTabStopOnChecked(group);
    dataEntryButton_->setAccessibleDescription(QStringLiteral("打开数据录入页，编辑本档案的开奖记录"));

    for (ui::ChoiceCombo* combo : {nameCombo_, xCombo_, aCombo_, bCombo_, cCombo_, kCombo_})
        connect(combo, &QComboBox::currentTextChanged, this, &SettingsTab::onSettingChanged);
    for (QRadioButton* radio : {fromZeroButton_, fromOneButton_, sequentialButton_, intervalButton_,
                                depth30Button_, depth60Button_, depth100Button_})
        connect(radio, &QRadioButton::toggled, this, &SettingsTab::onSettingChanged);
    connect(nameCombo_, &ui::ChoiceCombo::popupClosed, this,
            ui::guarded([this] { host_.runAction(QStringLiteral("act_datset")); }));
    connect(nameCombo_->lineEdit(), &QLineEdit::textEdited, this, [this] { nameTyped_ = true; });
    connect(nameCombo_->lineEdit(), &QLineEdit::editingFinished, this,
            ui::guarded([this] { onNameEntered(); }));
    for (ui::ChoiceCombo* combo : {xCombo_, aCombo_})
        connect(combo, &QComboBox::textActivated, this, &SettingsTab::followDivision);
    connect(dataEntryButton_, &QAbstractButton::clicked, this,
            ui::guarded([this] { host_.openDataEntry(); }));
}

ui::ChoiceCombo* SettingsTab::addValueRow(const QString& caption, const QString& name) {
    ui::ChoiceCombo* combo = ui::makeCombo(ui::ChoiceCombo::Typing::ReadOnly, name);
    list_->addRow(caption, ui::kDodgerBlue);
    list_->fill(combo, 50, 10);
    return combo;
}

QRadioButton* SettingsTab::addRadioRow(const QString& caption, const QString& name, QButtonGroup* group) {
    auto* radio = new QRadioButton;
    radio->setObjectName(name);
    radio->setCursor(Qt::PointingHandCursor);
    radio->setStyleSheet(QStringLiteral("QRadioButton { padding-left: 14px; }"));
    group->addButton(radio);
    list_->addRow(caption, ui::kDodgerBlue);
    list_->pinRight(radio, QSize(45, 40), 8);
    list_->clickWithRow(radio);
    return radio;
}

void SettingsTab::fillChoiceLists() {
    const QStringList names = listArchives();
    if (!names.isEmpty()) {
        nameCombo_->replaceItems(names);
        for (ui::ChoiceCombo* combo : {xCombo_, aCombo_, bCombo_, cCombo_, kCombo_})
            combo->replaceItems({});
    }
    xCombo_->appendItems(numberTexts(10, 60));
    aCombo_->appendItems(numberTexts(1, 60));
    bCombo_->appendItems(numberTexts(1, 60));
    cCombo_->appendItems(numberTexts(0, 60));
    kCombo_->appendItems(numberTexts(1, kMaxNumbersPerDraw));
    host_.setNumberChoices(numberTexts(0, 60));
}

void SettingsTab::loadStoredSettings() {
    nameTyped_ = false;
    const std::optional<StoredSettings> stored = loadArchiveSettings(archiveName());
    if (!stored)
        return;
    xCombo_->setText(stored->x);
    aCombo_->setText(stored->a);
    bCombo_->setText(stored->b);
    cCombo_->setText(stored->c);
    kCombo_->setText(QString::number(stored->k));
    (startValueChoice(stored->startValue) == 0 ? fromZeroButton_ : fromOneButton_)->setChecked(true);
    (displayModeChoice(stored->displayMode) == 0 ? sequentialButton_ : intervalButton_)->setChecked(true);
    QRadioButton* depthButtons[] = {depth30Button_, depth60Button_, depth100Button_};
    depthButtons[depthChoice(stored->depth)]->setChecked(true);
}

void SettingsTab::onSettingChanged() {
    // The built-in archive is the operator's game, one number out of 36 a draw.
    if (nameCombo_->currentText() == kBuiltInArchive) {
        xCombo_->setText(QStringLiteral("36"));
        kCombo_->setText(QStringLiteral("1"));
    }
    host_.setUnsaved(true);
}

void SettingsTab::followDivision() {
    const std::optional<qint32> x = parseInteger(xCombo_->currentText());
    const std::optional<qint32> a = parseInteger(aCombo_->currentText());
    if (!x || !a)
        return;
    const std::optional<DivisionSettings> division = divisionFor(*x, *a);
    if (!division)
        return;
    const QString b = QString::number(division->b), c = QString::number(division->c);
    if (bCombo_->findText(b, Qt::MatchExactly) < 0 || cCombo_->findText(c, Qt::MatchExactly) < 0)
        return;
    bCombo_->setText(b);
    cCombo_->setText(c);
}

void SettingsTab::onNameEntered() {
    if (nameTyped_)
        host_.runAction(QStringLiteral("act_datset"));
}

void SettingsTab::saveSettings() {
    SavedSettings settings;
    settings.x = toInteger(xCombo_->currentText());
    settings.a = toInteger(aCombo_->currentText());
    settings.b = toInteger(bCombo_->currentText());
    settings.c = toInteger(cCombo_->currentText());
    settings.k = toInteger(kCombo_->currentText());
    // The analysis's own check: values it would refuse are never saved.
    if (!isUsableDivision({settings.x, settings.a, settings.b, settings.c})) {
        dialogs::showMessage(host_.dialogOwner, QStringLiteral("设置错，请检查X、A、B、C值"));
        return;
    }
    if (settings.k >= settings.x) {
        dialogs::showMessage(host_.dialogOwner, QStringLiteral("设置错，K须小于X"));
        return;
    }
    const QString name = archiveName();
    if (refuseUnsafeArchiveName(host_.dialogOwner, name))
        return;
    settings.startValue = fromZeroButton_->isChecked() ? 0 : 1;
    settings.displayMode = sequentialButton_->isChecked() ? 0 : 1;
    settings.depth = depth30Button_->isChecked() ? 0 : depth60Button_->isChecked() ? 1 : 2;
    // An archive that this save creates, one the list does not hold, has no draws yet: nothing of it
    // was lost.
    const bool listed = nameCombo_->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0;
    const bool creates = !listed && !fileExists(recordFilePath(name));
    saveArchiveSettings(name, settings);
    host_.setUnsaved(false);
    savedName_ = name;
    if (!listed)
        nameCombo_->appendItems({name});
    quietAboutNoRecords_ = creates;
    const auto afterwards = qScopeGuard([this] { quietAboutNoRecords_ = false; });
    host_.runAction(QStringLiteral("act_grid"));
}

void SettingsTab::askToSaveChangedSettings() {
    host_.selectSettingsTab();
    dialogs::confirm(host_.dialogOwner, QStringLiteral("设置已更改，是否保存？"), [this](int answer) {
        if (answer == dialogs::kYes) {
            host_.runAction(QStringLiteral("act_saveset"));
            return;
        }
        nameCombo_->setText(savedName_);
        host_.runAction(QStringLiteral("act_datset"));
        // After the load, which itself marks the settings changed.
        host_.setUnsaved(false);
    });
}

void SettingsTab::selectArchiveEntry(const QString& name) {
    const int index = nameCombo_->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0)
        nameCombo_->setText(nameCombo_->itemText(index));
}

void SettingsTab::markSaved() {
    host_.setUnsaved(false);
    savedName_ = archiveName();
}

void SettingsTab::setArchiveName(const QString& name) {
    nameCombo_->setText(name);
}

QString SettingsTab::archiveName() const {
    return nameCombo_->currentText();
}

int SettingsTab::depth() const {
    if (depth30Button_->isChecked())
        return 30;
    if (depth60Button_->isChecked())
        return 60;
    if (depth100Button_->isChecked())
        return 100;
    return 30;
}

int SettingsTab::startValue() const {
    if (fromZeroButton_->isChecked())
        return 0;
    return fromOneButton_->isChecked() ? 1 : 0;
}

bool SettingsTab::intervalMode() const {
    return !sequentialButton_->isChecked() && intervalButton_->isChecked();
}

int SettingsTab::numbersPerDraw() const {
    return numbersPerDrawOf(analysisInputs());
}

AnalysisInputs SettingsTab::analysisInputs() const {
    AnalysisInputs inputs;
    inputs.archive = archiveName();
    inputs.depth = depth();
    inputs.x = xCombo_->currentText();
    inputs.a = aCombo_->currentText();
    inputs.b = bCombo_->currentText();
    inputs.c = cCombo_->currentText();
    inputs.k = kCombo_->currentText();
    inputs.startValue = startValue();
    inputs.mode = intervalMode() ? DisplayMode::Interval : DisplayMode::Sequential;
    inputs.reportMissingRecords = !quietAboutNoRecords_;
    return inputs;
}

QList<QWidget*> SettingsTab::focusChain() const {
    return {nameCombo_,        dataEntryButton_, xCombo_,         aCombo_,
            bCombo_,           cCombo_,          fromZeroButton_, fromOneButton_,
            sequentialButton_, intervalButton_,  depth30Button_,  depth60Button_,
            depth100Button_,   kCombo_};
}

} // namespace dravik
