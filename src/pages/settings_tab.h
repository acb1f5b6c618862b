#pragma once

#include <QString>
#include <QWidget>
#include <functional>

class QAbstractButton;
class QButtonGroup;
class QRadioButton;

namespace dravik {

struct AnalysisInputs;

namespace ui {
class ChoiceCombo;
class ImageButton;
class ItemList;
} // namespace ui

// The settings tab: the archive name and its analysis settings, which live in these controls alone.
// The enabled state of the header's save button is the flag of unsaved changes.
class SettingsTab : public QWidget {
    Q_OBJECT
public:
    // What the tab needs of the window around it.
    struct Host {
        QAbstractButton* saveButton = nullptr;         // Button_save
        QString* savedName = nullptr;                  // SavedName
        std::function<void(const QString&)> runAction; // runs a named action
        std::function<void()> selectSettingsTab;       // selects this tab in the tab bar
        QWidget* dialogOwner = nullptr;
        ui::ChoiceCombo* numberCombo = nullptr; // the data-entry page's Edit_hm, filled with the choices
    };

    explicit SettingsTab(Host host, QWidget* parent = nullptr);

    // The archive list and the choice lists; run once, at start-up.
    void act_seteditExecute();
    // Loads the stored settings of the archive named in Edit_name; no settings file, no change.
    void act_datsetExecute();
    // Every change of a bound control: holds X at 36 for the built-in archive, marks the settings changed.
    void Edit_nameChange();
    // Checks, writes both settings files, marks the settings saved and analyses again.
    void act_savesetExecute();
    // Asks whether to save changed settings and carries out the answer before returning.
    void act_savechangeExecute();

    // Picks the entry of Edit_name's list equal to the name (start-up on a first run).
    void selectArchiveEntry(const QString& name);

    // Inputs of an analysis run, read as they stand.
    QString archiveName() const;
    int depth() const;      // 30, 60 or 100
    int startValue() const; // 0 or 1
    bool intervalMode() const;
    // All of the above as the inputs of an analysis run; the records are the caller's to read.
    AnalysisInputs analysisInputs() const;

    // The tab's controls in reading order, for the window's Tab chain.
    QList<QWidget*> focusChain() const;

    ui::ItemList* ListBox2;
    ui::ChoiceCombo* Edit_name;
    ui::ImageButton* Button_in;
    ui::ChoiceCombo* Edit_x;
    ui::ChoiceCombo* Edit_a;
    ui::ChoiceCombo* Edit_b;
    ui::ChoiceCombo* Edit_c;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QRadioButton* RadioButton3;
    QRadioButton* RadioButton4;
    QRadioButton* RadioButton5;
    QRadioButton* RadioButton6;
    QRadioButton* RadioButton7;

private:
    QRadioButton* addRadioRow(const QString& caption, const QString& name, QButtonGroup* group);
    ui::ChoiceCombo* addValueRow(const QString& caption, const QString& name);

    Host host_;
};

} // namespace dravik
