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

    // Reads the latest draws of the archive, analyses them with the settings given and shows the
    // outcome. The conversion error of a setting is raised; the other messages go to the message box.
    void showAnalysis(AnalysisInputs inputs);

    // The tab's controls in reading order, for the window's Tab chain.
    QList<QWidget*> focusChain() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* dialogOwner_;
    QTableWidget* table_;
};

} // namespace dravik
