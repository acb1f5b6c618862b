#pragma once

#include <QWidget>

class QTableWidget;

namespace dravik {

struct AnalysisInputs;

// The analysis tab: the table of the groups' counts over the latest N draws.
class AnalysisTab : public QWidget {
    Q_OBJECT
public:
    explicit AnalysisTab(QWidget* dialogOwner, QWidget* parent = nullptr);

    // act_grid: reads the latest draws of the archive, analyses them with the settings given and shows
    // the outcome. The conversion error of a setting is raised; the other messages go to the message box.
    void showAnalysis(AnalysisInputs inputs);

    QTableWidget* StringGrid1;

private:
    QWidget* dialogOwner_;
};

} // namespace dravik
