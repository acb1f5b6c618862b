#include "pages/import_dialog.h"

#include "download/page_fetch.h"
#include "ui/dialogs.h"
#include "ui/handler_guard.h"
#include "ui/pixel_layout.h"
#include "ui/tab_chain.h"
#include "ui/ui_style.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <algorithm>
#include <utility>

namespace dravik {

namespace {

// Long enough for a paste or a burst of typing to arrive whole before the text is parsed again.
constexpr int kSummaryDelayMs = 200;
constexpr qsizetype kPreviewChanges = 5; // of each kind
constexpr qsizetype kPreviewRejected = 5;
constexpr qsizetype kPreviewLineLength = 40;

QString summaryText(const ImportCounts& counts, qsizetype rejected) {
    return QStringLiteral("新增%1条，替换%2条，相同%3条，无法识别%4行")
        .arg(counts.added)
        .arg(counts.replaced)
        .arg(counts.same)
        .arg(rejected);
}

// The records that change the archive, as they will be written: replaced ones first, then new ones.
QString changesPreview(const MergedRecordFile& merged) {
    QStringList lines;
    for (const ReplacedRecord& record : merged.replaced)
        lines.append(
            QStringLiteral("替换 %1：%2 → %3").arg(record.period, record.oldNumber, record.newNumber));
    if (merged.counts.replaced > merged.replaced.size())
        lines.append(QStringLiteral("…"));
    for (const QString& record : merged.added)
        lines.append(QStringLiteral("新增 ") + record);
    if (merged.counts.added > merged.added.size())
        lines.append(QStringLiteral("…"));
    if (lines.isEmpty())
        return QStringLiteral("记录预览：无");
    return lines.join(QLatin1Char('\n'));
}

QString rejectedPreview(const QList<RejectedLine>& rejected, const ArchiveNumbers& numbers) {
    if (rejected.isEmpty())
        return QStringLiteral("无法识别：无");
    QStringList lines;
    for (qsizetype i = 0; i < std::min(rejected.size(), kPreviewRejected); ++i) {
        // Columns apart by tabs read as one blank here, where the label sets no tab stops.
        QString text = QString(rejected[i].text).replace(QLatin1Char('\t'), QLatin1Char(' '));
        if (text.size() > kPreviewLineLength)
            text = text.left(kPreviewLineLength) + QStringLiteral("…");
        lines.append(QStringLiteral("第%1行：%2：%3")
                         .arg(rejected[i].lineNumber)
                         .arg(faultText(rejected[i].fault, numbers), text));
    }
    if (rejected.size() > kPreviewRejected)
        lines.append(QStringLiteral("…"));
    return lines.join(QLatin1Char('\n'));
}

// A label whose text is the information: a screen reader says the text, the caption describes it.
QLabel* makeInfoLabel(const QString& name, const QString& caption, QWidget* parent) {
    QLabel* label = ui::makeLabel(QString(), ui::uiFont(10), parent);
    label->setObjectName(name);
    label->setAccessibleDescription(caption);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

ImportDialog::ImportDialog(std::optional<QByteArray> archive, bool builtIn, ArchiveNumbers numbers,
                           std::optional<ArchiveSource> source, Importer importer, QWidget* parent)
    : QDialog(parent), archive_(std::move(archive)), numbers_(std::move(numbers)),
      choices_(numberColumnChoices(numbers_.perDraw())), remembered_(std::move(source)),
      importer_(std::move(importer)), readTimeLimitMs_(PageFetch::kTimeLimitMs) {
    setObjectName(QStringLiteral("ImportDialog"));
    setWindowTitle(QStringLiteral("导入记录"));
    setWindowModality(Qt::WindowModal);
    setFont(ui::uiFont(10));

    urlEdit_ = new QLineEdit(this);
    urlEdit_->setObjectName(QStringLiteral("Edit_url"));
    urlEdit_->setAccessibleName(QStringLiteral("网址"));
    urlEdit_->setPlaceholderText(QStringLiteral("开奖历史所在网页的网址，如 https://…"));
    QLabel* urlCaption = ui::makeLabel(QStringLiteral("网址"), ui::uiFont(10), this);
    urlCaption->setBuddy(urlEdit_);
    fetchButton_ = new QPushButton(this);
    fetchButton_->setObjectName(QStringLiteral("Button_fetch"));
    showReading(false);
    fetchButton_->setAutoDefault(false);
    fetchStatus_ = makeInfoLabel(QStringLiteral("Label_fetch"), QStringLiteral("读取结果"), this);
    fetchStatus_->setVisible(false);

    textEdit_ = new QPlainTextEdit(this);
    textEdit_->setObjectName(QStringLiteral("Memo_import"));
    textEdit_->setAccessibleName(QStringLiteral("导入文本"));
    textEdit_->setPlaceholderText(QStringLiteral("粘贴开奖历史，每行一期，如：2024001 01 02 03 04 05 06 16"));
    textEdit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Tab-separated columns stay side by side, as a history copied from a web page holds them.
    textEdit_->setTabStopDistance(textEdit_->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
    // Tab leaves the field, so that the keyboard reaches the controls after it.
    textEdit_->setTabChangesFocus(true);

    openButton_ = new QPushButton(QStringLiteral("打开文件…"), this);
    openButton_->setObjectName(QStringLiteral("Button_open"));
    openButton_->setAccessibleName(QStringLiteral("打开文件…"));
    openButton_->setAutoDefault(false);

    columnCombo_ = new QComboBox(this);
    columnCombo_->setObjectName(QStringLiteral("Combo_column"));
    for (const NumberColumn& choice : std::as_const(choices_))
        columnCombo_->addItem(choice.caption());
    columnCombo_->setAccessibleName(QStringLiteral("号码取"));
    QLabel* columnCaption = ui::makeLabel(QStringLiteral("号码取"), ui::uiFont(10), this);
    columnCaption->setBuddy(columnCombo_);

    summaryLabel_ = makeInfoLabel(QStringLiteral("Label_summary"), QStringLiteral("导入摘要"), this);
    summaryLabel_->setFont(ui::uiFont(11));
    recordsLabel_ = makeInfoLabel(QStringLiteral("Label_records"), QStringLiteral("记录预览"), this);
    rejectedLabel_ = makeInfoLabel(QStringLiteral("Label_rejected"), QStringLiteral("无法识别的行"), this);
    builtInNote_ = makeInfoLabel(QStringLiteral("Label_builtIn"), QStringLiteral("内置档案提示"), this);
    builtInNote_->setText(QStringLiteral("注意：下次启动时的下载会以官方数据替换内置档案的记录"));
    builtInNote_->setVisible(builtIn);

    autoCheck_ = new QCheckBox(QStringLiteral("启动时自动更新"), this);
    autoCheck_->setObjectName(QStringLiteral("Check_auto"));
    autoCheck_->setAccessibleName(QStringLiteral("启动时自动更新"));
    autoCheck_->setAccessibleDescription(QStringLiteral("每次启动时从网址读取新的开奖记录"));
    // Only a history read from an address can be read again; the built-in archive has its own download.
    autoCheck_->setEnabled(false);
    autoCheck_->setVisible(!builtIn);

    importButton_ = new QPushButton(QStringLiteral("导入"), this);
    importButton_->setObjectName(QStringLiteral("Button_ok"));
    importButton_->setAccessibleName(QStringLiteral("导入"));
    importButton_->setAutoDefault(false);
    cancelButton_ = new QPushButton(QStringLiteral("取消"), this);
    cancelButton_->setObjectName(QStringLiteral("Button_cancel"));
    cancelButton_->setAccessibleName(QStringLiteral("取消"));
    cancelButton_->setAutoDefault(false);

    // On whole device pixels: at 125 % and 175 % the style's margins and spacings put the controls of
    // the right-hand column between device pixels, where the Windows style lost their right borders.
    auto* sourceRow = new ui::DevicePixelBoxLayout(QBoxLayout::LeftToRight);
    sourceRow->addWidget(openButton_);
    sourceRow->addStretch();
    sourceRow->addWidget(columnCaption);
    sourceRow->addWidget(columnCombo_);
    auto* urlRow = new ui::DevicePixelBoxLayout(QBoxLayout::LeftToRight);
    urlRow->addWidget(urlCaption);
    urlRow->addWidget(urlEdit_, 1);
    urlRow->addWidget(fetchButton_);
    auto* buttonRow = new ui::DevicePixelBoxLayout(QBoxLayout::LeftToRight);
    buttonRow->addWidget(autoCheck_);
    buttonRow->addStretch();
    buttonRow->addWidget(importButton_);
    buttonRow->addWidget(cancelButton_);
    auto* layout = new ui::DevicePixelBoxLayout(QBoxLayout::TopToBottom, this);
    layout->addLayout(urlRow);
    layout->addWidget(fetchStatus_);
    layout->addWidget(textEdit_, 1);
    layout->addLayout(sourceRow);
    layout->addWidget(summaryLabel_);
    layout->addWidget(recordsLabel_);
    layout->addWidget(rejectedLabel_);
    layout->addWidget(builtInNote_);
    layout->addLayout(buttonRow);

    ui::setTabChain({urlEdit_, fetchButton_, textEdit_, openButton_, columnCombo_, autoCheck_, importButton_,
                     cancelButton_});

    summaryDelay_ = new QTimer(this);
    summaryDelay_->setSingleShot(true);
    summaryDelay_->setInterval(kSummaryDelayMs);
    connect(summaryDelay_, &QTimer::timeout, this, &ImportDialog::refreshSummary);
    connect(textEdit_, &QPlainTextEdit::textChanged, summaryDelay_, qOverload<>(&QTimer::start));
    // The dialog's own picks are made without a signal: any change that is heard is the user's, and
    // from then on the choice is his.
    connect(columnCombo_, &QComboBox::currentIndexChanged, this, [this] {
        choicePicked_ = true;
        refreshSummary();
    });
    // Reading a file and writing the record file raise errors; they are shown here.
    connect(openButton_, &QAbstractButton::clicked, this, ui::guarded([this] { chooseFile(); }));
    connect(importButton_, &QAbstractButton::clicked, this, ui::guarded([this] { runImport(); }));
    connect(cancelButton_, &QAbstractButton::clicked, this, &QDialog::reject);
    connect(fetchButton_, &QAbstractButton::clicked, this, ui::guarded([this] { startOrStopReading(); }));
    connect(urlEdit_, &QLineEdit::returnPressed, this, ui::guarded([this] { startOrStopReading(); }));

    resize(420, 600);
    if (remembered_) {
        urlEdit_->setText(remembered_->url);
        autoCheck_->setChecked(remembered_->autoUpdate);
    }
    const QString clipboard = QGuiApplication::clipboard()->text();
    if (!clipboard.isEmpty()) {
        textEdit_->setPlainText(clipboard);
        // Whatever else the clipboard held, a paste or typing replaces it.
        textEdit_->selectAll();
    }
    refreshSummary();
    textEdit_->setFocus();
}

ImportDialog::~ImportDialog() = default;

void ImportDialog::setReadTimeLimit(int milliseconds) {
    readTimeLimitMs_ = milliseconds;
}

void ImportDialog::readRememberedSource() {
    if (!remembered_)
        return;
    urlEdit_->setText(remembered_->url);
    takeRememberedChoice_ = true;
    if (fetch_ && fetch_->isRunning())
        fetch_->stop();
    startOrStopReading();
}

void ImportDialog::startOrStopReading() {
    if (fetch_ && fetch_->isRunning()) {
        fetch_->stop();
        return;
    }
    if (!fetch_) {
        fetch_ = new PageFetch(readTimeLimitMs_, this);
        connect(fetch_, &PageFetch::finished, this, ui::guarded([this] { onReadFinished(); }));
    }
    readingFrom_ = urlEdit_->text().trimmed();
    const QString problem = pageAddressProblem(readingFrom_);
    if (!problem.isEmpty()) {
        takeRememberedChoice_ = false;
        fetchStatus_->setText(QStringLiteral("读取失败：") + problem);
        fetchStatus_->setVisible(true);
        return;
    }
    showReading(true);
    fetchStatus_->setText(QStringLiteral("正在读取…"));
    fetchStatus_->setVisible(true);
    fetch_->start(readingFrom_);
}

void ImportDialog::showReading(bool reading) {
    const QString caption = reading ? QStringLiteral("停止") : QStringLiteral("读取");
    fetchButton_->setText(caption);
    fetchButton_->setAccessibleName(caption);
}

void ImportDialog::onReadFinished() {
    showReading(false);
    const bool takeRemembered = std::exchange(takeRememberedChoice_, false);
    const PageOutcome& outcome = fetch_->outcome();
    switch (outcome.status) {
    case PageOutcome::Status::Read: {
        fetchStatus_->setVisible(false);
        fetchStatus_->clear();
        readFrom_ = readingFrom_;
        autoCheck_->setEnabled(true);
        // The text and then the choice, so that the summary is made once, for both.
        const QSignalBlocker quiet(textEdit_);
        textEdit_->setPlainText(outcome.lines.join(QLatin1Char('\n')));
        if (takeRemembered && remembered_) {
            const qsizetype at = numberColumnCaptioned(remembered_->column, numbers_.perDraw());
            if (at >= 0) {
                const QSignalBlocker quietChoice(columnCombo_);
                columnCombo_->setCurrentIndex(int(at));
                choicePicked_ = true;
            }
        }
        refreshSummary();
        break;
    }
    case PageOutcome::Status::Failed:
        // The field keeps what it held.
        fetchStatus_->setText(QStringLiteral("读取失败：") + outcome.reason);
        fetchStatus_->setVisible(true);
        break;
    case PageOutcome::Status::Stopped:
    case PageOutcome::Status::None:
        fetchStatus_->setVisible(false);
        fetchStatus_->clear();
        break;
    }
}

void ImportDialog::refreshSummary() {
    updateSummary();
}

ParsedRecords ImportDialog::updateSummary() {
    summaryDelay_->stop();
    const QByteArray text = textEdit_->toPlainText().toUtf8();
    if (!choicePicked_) {
        const QSignalBlocker quiet(columnCombo_);
        columnCombo_->setCurrentIndex(int(fittingNumberColumn(text, numbers_)));
    }
    const NumberColumn column = choices_.value(columnCombo_->currentIndex());
    ParsedRecords parsed = parseImportText(text, column, numbers_);
    // The counts do not depend on the encoding a new file would get.
    const MergedRecordFile merged =
        mergeIntoRecordFile(archive_, parsed.records, TextEncoding::Utf8, kPreviewChanges);
    summaryLabel_->setText(summaryText(merged.counts, parsed.rejected.size()));
    recordsLabel_->setText(changesPreview(merged));
    rejectedLabel_->setText(rejectedPreview(parsed.rejected, numbers_));
    return parsed;
}

void ImportDialog::openFile(const QString& path) {
    textEdit_->setPlainText(QString::fromUtf8(readImportText(path)));
    readFrom_.clear();
    autoCheck_->setEnabled(false);
    refreshSummary();
}

void ImportDialog::chooseFile() {
    const QString path = dialogs::askOpenFileName(this, QStringLiteral("打开文件"),
                                                  QStringLiteral("文本文件 (*.txt *.csv);;所有文件 (*)"));
    if (!path.isEmpty())
        openFile(path);
}

void ImportDialog::runImport() {
    const ParsedRecords parsed = updateSummary();
    // Nothing to import: nothing is written, and the summary says why.
    if (parsed.records.isEmpty())
        return;
    std::optional<ArchiveSource> source;
    if (!readFrom_.isEmpty())
        source = ArchiveSource{readFrom_, columnCombo_->currentText(), autoCheck_->isChecked()};
    importer_(parsed.records, source);
    accept();
}

} // namespace dravik
