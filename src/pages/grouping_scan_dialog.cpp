#include "pages/grouping_scan_dialog.h"

#include "ui/dialogs.h"
#include "ui/pixel_layout.h"
#include "ui/tab_chain.h"
#include "ui/ui_style.h"

#include <QLabel>
#include <QPushButton>

namespace dravik {

namespace {

// The scan of a few hundred settings over a long archive can take seconds; a quicker one shows no
// progress dialog that would only flash.
constexpr int kProgressAfterMs = 500;

QLabel* makeLineLabel(const QString& name, const QString& text, QWidget* parent) {
    QLabel* label = ui::makeLabel(text, ui::uiFont(10), parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    // The text is what a screen reader must say; selectable from the keyboard as the mark check is.
    label->setAccessibleName(text);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setFocusPolicy(Qt::StrongFocus);
    return label;
}

} // namespace

GroupingScanDialog::GroupingScanDialog(const ScanReport& report, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ScanDialog"));
    setWindowTitle(QStringLiteral("全部分组回测"));
    setWindowModality(Qt::WindowModal);
    setFont(ui::uiFont(10));

    auto* layout = new ui::DevicePixelBoxLayout(QBoxLayout::TopToBottom, this);
    for (int i = 0; i < report.best.size(); ++i) {
        lines_.append(makeLineLabel(QStringLiteral("Label_best%1").arg(i + 1), report.best[i], this));
        layout->addWidget(lines_.last());
    }
    if (!report.best.isEmpty())
        layout->addSpacing(8);
    const QString summaryNames[] = {QStringLiteral("Label_summary"), QStringLiteral("Label_verdict")};
    for (int i = 0; i < report.summary.size(); ++i) {
        lines_.append(makeLineLabel(summaryNames[std::min(i, 1)], report.summary[i], this));
        lines_.last()->setFont(ui::uiFont(11));
        layout->addWidget(lines_.last());
    }

    okButton_ = new QPushButton(QStringLiteral("确定"), this);
    okButton_->setObjectName(QStringLiteral("Button_ok"));
    okButton_->setAccessibleName(QStringLiteral("确定"));
    okButton_->setDefault(true);
    connect(okButton_, &QAbstractButton::clicked, this, &QDialog::accept);
    auto* buttonRow = new ui::DevicePixelBoxLayout(QBoxLayout::LeftToRight);
    buttonRow->addStretch();
    buttonRow->addWidget(okButton_);
    layout->addSpacing(8);
    layout->addLayout(buttonRow);

    QList<QWidget*> chain(lines_.begin(), lines_.end());
    chain.append(okButton_);
    ui::setTabChain(chain);
    // Wide enough for a line of the best settings; the wrapped summary decides the height.
    constexpr int kWidth = 440;
    resize(kWidth, layout->totalHeightForWidth(kWidth));
    okButton_->setFocus();
}

GroupingScanDialog* runGroupingScan(QWidget* owner, const AnalysisInputs& settings) {
    QString problem;
    std::optional<GroupingScan> scan = groupingScanOf(settings, &problem);
    if (!scan) {
        dialogs::showMessage(owner, problem);
        return nullptr;
    }
    {
        dialogs::Progress progress(owner, QStringLiteral("全部分组回测"),
                                   QStringLiteral("正在回测%1种分组").arg(scan->settingCount()),
                                   scan->settingCount(), kProgressAfterMs);
        while (!scan->isDone()) {
            scan->runNext();
            if (!progress.advance(scan->doneCount()))
                return nullptr;
        }
    }
    auto* dialog = new GroupingScanDialog(scanReport(scan->scores()), owner);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
    return dialog;
}

} // namespace dravik
