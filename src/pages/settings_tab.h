#pragma once

#include <QString>
#include <QStringList>
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
// Every change marks the settings unsaved, until they are saved or the change is undone.
class SettingsTab : public QWidget {
    Q_OBJECT
public:
    // What the tab needs of the window around it.
    struct Host {
        std::function<void(bool)> setUnsaved;                     // the flag of unsaved settings
        std::function<void(const QString&)> runAction;            // runs a named action
        std::function<void()> selectSettingsTab;                  // selects this tab in the tab bar
        std::function<void()> openDataEntry;                      // the data-entry page, for this archive
        std::function<void(const QStringList&)> setNumberChoices; // the data-entry page's numbers
        QWidget* dialogOwner = nullptr;
    };

    explicit SettingsTab(Host host, QWidget* parent = nullptr);

    // The archive list and the choice lists; run once, at start-up.
    void fillChoiceLists();
    // Loads the stored settings of the archive named in the name field; no settings file, no change.
    void loadStoredSettings();
    // Checks, writes both settings files, marks the settings saved and analyses again.
    void saveSettings();
    // Asks whether to save changed settings and carries out the answer before returning.
    void askToSaveChangedSettings();
    // The settings as they stand are the saved ones (the end of start-up).
    void markSaved();

    // Picks the entry of the archive list equal to the name (start-up on a first run).
    void selectArchiveEntry(const QString& name);
    void setArchiveName(const QString& name);

    // Inputs of an analysis run, read as they stand.
    QString archiveName() const;
    // The archive whose settings were saved last: a "No" to saving goes back to it.
    QString savedArchiveName() const { return savedName_; }
    int depth() const;      // 30, 60 or 100
    int startValue() const; // 0 or 1
    bool intervalMode() const;
    // K, the numbers a draw holds, as the analysis of the settings as they stand uses it.
    int numbersPerDraw() const;
    // All of the above as the inputs of an analysis run; the records are the caller's to read.
    AnalysisInputs analysisInputs() const;

    // The tab's controls in reading order, for the window's Tab chain.
    QList<QWidget*> focusChain() const;

private:
    QRadioButton* addRadioRow(const QString& caption, const QString& name, QButtonGroup* group);
    ui::ChoiceCombo* addValueRow(const QString& caption, const QString& name);
    // Every change of a bound control: holds X at 36 for the built-in archive, marks the settings
    // unsaved.
    void onSettingChanged();
    // A pick of X or A: B and C become the quotient and remainder, where the lists offer them.
    void followDivision();
    // Enter in the name field, or leaving it, after typing: the typed archive's settings, as a pick
    // from the list loads them.
    void onNameEntered();

    Host host_;
    QString savedName_;
    bool nameTyped_ = false;           // since the settings were last loaded
    bool quietAboutNoRecords_ = false; // the save that creates an archive analyses it

    ui::ItemList* list_;
    ui::ChoiceCombo* nameCombo_;
    ui::ImageButton* dataEntryButton_;
    // The division X ÷ A = B remainder C: X numbers, A per group, B groups, C left over.
    ui::ChoiceCombo* xCombo_;
    ui::ChoiceCombo* aCombo_;
    ui::ChoiceCombo* bCombo_;
    ui::ChoiceCombo* cCombo_;
    ui::ChoiceCombo* kCombo_; // K, the numbers each draw holds
    QRadioButton* fromZeroButton_;
    QRadioButton* fromOneButton_;
    QRadioButton* sequentialButton_;
    QRadioButton* intervalButton_;
    QRadioButton* depth30Button_;
    QRadioButton* depth60Button_;
    QRadioButton* depth100Button_;
};

} // namespace dravik
