#include "pages/analysis_tab.h"

#include "analysis/analysis_run.h"
#include "storage/data_folder.h"
#include "storage/error.h"
#include "storage/record_file.h"
#include "ui/dialogs.h"
#include "ui/string_grid.h"

#include <QTableWidget>

namespace dravik {

AnalysisTab::AnalysisTab(QWidget* dialogOwner, QWidget* parent) : QWidget(parent), dialogOwner_(dialogOwner) {
    table_ = ui::makeStringGrid(
        QStringLiteral("StringGrid1"),
        {QStringLiteral("号码"), QStringLiteral("出现值"), QStringLiteral("遗漏值"), QStringLiteral("荐")},
        {100, 50, 50, 30}, this);
    table_->setRowCount(10);
    table_->setAccessibleName(QStringLiteral("分析结果"));
    // A group of many numbers is cut to the 号码 column; the pointer's pause shows all of it.
    ui::showCutTextsAsToolTips(table_);
}

void AnalysisTab::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    table_->setGeometry(10, 0, width() - 20, height());
    // The group texts take what the counts leave of the width.
    table_->setColumnWidth(0, table_->width() - 130 - 6);
}

QList<QWidget*> AnalysisTab::focusChain() const {
    return {table_};
}

void AnalysisTab::showAnalysis(AnalysisInputs inputs) {
    inputs.records = readRecordTail(recordFilePath(inputs.archive), inputs.depth);
    const AnalysisOutcome outcome = runAnalysis(inputs);
    if (!outcome.message.isEmpty()) {
        if (outcome.messageIsError)
            throw Error(outcome.message);
        dialogs::showMessage(dialogOwner_, outcome.message);
    }
    switch (outcome.table) {
    case AnalysisOutcome::Table::Unchanged:
        break;
    case AnalysisOutcome::Table::Empty:
        table_->setRowCount(0);
        break;
    case AnalysisOutcome::Table::Rows:
        table_->setRowCount(0);
        table_->setRowCount(int(outcome.rows.size()));
        for (int i = 0; i < outcome.rows.size(); ++i) {
            const ResultRow& row = outcome.rows.at(i);
            table_->setItem(i, 0, ui::gridCell(row.group));
            table_->setItem(i, 1, ui::gridCell(row.occurrence));
            table_->setItem(i, 2, ui::gridCell(row.omission));
            table_->setItem(i, 3, ui::gridCell(row.mark));
        }
        break;
    }
}

} // namespace dravik
