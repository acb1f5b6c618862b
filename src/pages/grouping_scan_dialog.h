#pragma once

#include "analysis/analysis_run.h"
#include "analysis/grouping_scan.h"

#include <QDialog>
#include <QList>

class QLabel;
class QPushButton;

namespace dravik {

// The dialog "全部分组回测": the best settings of the scan, one line each, then how likely the best of
// them is under pure luck and the verdict. Every line is a label of its own that the keyboard reaches
// and a screen reader reads by its text; the text can be selected and copied.
class GroupingScanDialog : public QDialog {
    Q_OBJECT
public:
    explicit GroupingScanDialog(const ScanReport& report, QWidget* parent = nullptr);

    // The lines in reading order: the best ones, then the summary.
    QList<QLabel*> lineLabels() const { return lines_; }

private:
    QList<QLabel*> lines_;
    QPushButton* okButton_;
};

// 回测全部分组: the scan of every grouping for the settings as they stand (X as the analysis works
// with it, the start value and K) over the archive's whole record file. A progress dialog "全部分组回测"
// with 取消 shows when the scan takes longer than 0.5 s. Then the dialog of its outcome, open (window
// modal, deleted on close), is returned; nothing when the user cancelled or the scan could not run, which
// the message box then says (the record file missing or unreadable, a setting that is no integer). No
// setting is changed, nothing is written.
GroupingScanDialog* runGroupingScan(QWidget* owner, const AnalysisInputs& settings);

} // namespace dravik
