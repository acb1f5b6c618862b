#include "pages/import_dialog.h"

#include "ui/handler_guard.h"
#include "ui/tab_chain.h"
#include "ui/ui_style.h"

#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace dravik {

namespace {

// Long enough for a paste or a burst of typing to arrive whole before the text is parsed again.
constexpr int kSummaryDelayMs = 200;
constexpr int kPreviewRecords = 3;
constexpr int kPreviewRejected = 3;
constexpr int kPreviewLineLength = 32;

QString summaryText(const ImportCounts& counts, qsizetype rejected) {
    return QStringLiteral("新增%1条，替换%2条，相同%3条，无法识别%4行")
        .arg(counts.added)
        .arg(counts.replaced)
        .arg(counts.same)
        .arg(rejected);
}

// The first records as the import writes them: a period a later line repeats shows its later number.
QString recordsPreview(const ImportedRecords& records) {
    if (records.isEmpty())
        return QStringLiteral("记录预览：无");
    const QStringList first = firstWrittenRecords(records, kPreviewRecords + 1);
    QString text = QStringLiteral("记录预览：") + first.mid(0, kPreviewRecords).join(QStringLiteral("  "));
    if (first.size() > kPreviewRecords)
        text += QStringLiteral("  …");
    return text;
}

QString rejectedPreview(const QList<RejectedLine>& rejected) {
    if (rejected.isEmpty())
        return QStringLiteral("无法识别：无");
    QStringList lines;
    for (qsizetype i = 0; i < std::min<qsizetype>(rejected.size(), kPreviewRejected); ++i) {
        QString text = rejected[i].text;
        if (text.size() > kPreviewLineLength)
            text = text.left(kPreviewLineLength) + QStringLiteral("…");
        lines.append(QStringLiteral("第%1行：%2").arg(rejected[i].lineNumber).arg(text));
    }
    if (rejected.size() > kPreviewRejected)
        lines.append(QStringLiteral("…"));
    return QStringLiteral("无法识别：") + lines.join(QLatin1Char('\n'));
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

ImportDialog::ImportDialog(std::optional<QByteArray> archive, bool builtIn, Importer importer,
                           QWidget* parent)
    : QDialog(parent), archive_(std::move(archive)), importer_(std::move(importer)) {
    setObjectName(QStringLiteral("ImportDialog"));
    setWindowTitle(QStringLiteral("导入记录"));
    setWindowModality(Qt::WindowModal);
    setFont(ui::uiFont(10));

    Memo_import = new QPlainTextEdit(this);
    Memo_import->setObjectName(QStringLiteral("Memo_import"));
    Memo_import->setAccessibleName(QStringLiteral("导入文本"));
    Memo_import->setPlaceholderText(
        QStringLiteral("粘贴开奖历史，每行一期，如：2024001 01 02 03 04 05 06 16"));
    Memo_import->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Tab leaves the field, so that the keyboard reaches the controls after it.
    Memo_import->setTabChangesFocus(true);

    Button_open = new QPushButton(QStringLiteral("打开文件…"), this);
    Button_open->setObjectName(QStringLiteral("Button_open"));
    Button_open->setAccessibleName(QStringLiteral("打开文件…"));
    Button_open->setAutoDefault(false);

    Combo_column = new QComboBox(this);
    Combo_column->setObjectName(QStringLiteral("Combo_column"));
    for (const NumberColumn& choice : numberColumnChoices())
        Combo_column->addItem(choice.caption());
    Combo_column->setCurrentIndex(0);
    Combo_column->setAccessibleName(QStringLiteral("号码取"));
    QLabel* columnCaption = ui::makeLabel(QStringLiteral("号码取"), ui::uiFont(10), this);
    columnCaption->setBuddy(Combo_column);

    Label_summary = makeInfoLabel(QStringLiteral("Label_summary"), QStringLiteral("导入摘要"), this);
    Label_summary->setFont(ui::uiFont(11));
    Label_records = makeInfoLabel(QStringLiteral("Label_records"), QStringLiteral("记录预览"), this);
    Label_rejected = makeInfoLabel(QStringLiteral("Label_rejected"), QStringLiteral("无法识别的行"), this);
    Label_builtIn = makeInfoLabel(QStringLiteral("Label_builtIn"), QStringLiteral("内置档案提示"), this);
    Label_builtIn->setText(QStringLiteral("注意：下次启动时的下载会以官方数据替换内置档案的记录"));
    Label_builtIn->setVisible(builtIn);

    Button_ok = new QPushButton(QStringLiteral("导入"), this);
    Button_ok->setObjectName(QStringLiteral("Button_ok"));
    Button_ok->setAccessibleName(QStringLiteral("导入"));
    Button_ok->setAutoDefault(false);
    Button_cancel = new QPushButton(QStringLiteral("取消"), this);
    Button_cancel->setObjectName(QStringLiteral("Button_cancel"));
    Button_cancel->setAccessibleName(QStringLiteral("取消"));
    Button_cancel->setAutoDefault(false);

    auto* sourceRow = new QHBoxLayout;
    sourceRow->addWidget(Button_open);
    sourceRow->addStretch();
    sourceRow->addWidget(columnCaption);
    sourceRow->addWidget(Combo_column);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(Button_ok);
    buttonRow->addWidget(Button_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Memo_import, 1);
    layout->addLayout(sourceRow);
    layout->addWidget(Label_summary);
    layout->addWidget(Label_records);
    layout->addWidget(Label_rejected);
    layout->addWidget(Label_builtIn);
    layout->addLayout(buttonRow);

    ui::setTabChain({Memo_import, Button_open, Combo_column, Button_ok, Button_cancel});

    summaryDelay_ = new QTimer(this);
    summaryDelay_->setSingleShot(true);
    summaryDelay_->setInterval(kSummaryDelayMs);
    connect(summaryDelay_, &QTimer::timeout, this, &ImportDialog::refreshSummary);
    connect(Memo_import, &QPlainTextEdit::textChanged, summaryDelay_, qOverload<>(&QTimer::start));
    connect(Combo_column, &QComboBox::currentIndexChanged, this, &ImportDialog::refreshSummary);
    // Reading a file and writing the record file raise errors; they are shown here.
    connect(Button_open, &QAbstractButton::clicked, this, ui::guarded([this] { Button_openClick(); }));
    connect(Button_ok, &QAbstractButton::clicked, this, ui::guarded([this] { Button_okClick(); }));
    connect(Button_cancel, &QAbstractButton::clicked, this, &QDialog::reject);

    resize(420, 560);
    const QString clipboard = QGuiApplication::clipboard()->text();
    if (!clipboard.isEmpty()) {
        Memo_import->setPlainText(clipboard);
        // Whatever else the clipboard held, a paste or typing replaces it.
        Memo_import->selectAll();
    }
    refreshSummary();
    Memo_import->setFocus();
}

void ImportDialog::refreshSummary() {
    updateSummary();
}

ParsedRecords ImportDialog::updateSummary() {
    summaryDelay_->stop();
    ParsedRecords parsed = parseImportText(Memo_import->toPlainText(),
                                           numberColumnChoices().value(Combo_column->currentIndex()));
    // The counts do not depend on the encoding a new file would get.
    const ImportCounts counts = mergeIntoRecordFile(archive_, parsed.records, TextEncoding::Utf8).counts;
    Label_summary->setText(summaryText(counts, parsed.rejected.size()));
    Label_records->setText(recordsPreview(parsed.records));
    Label_rejected->setText(rejectedPreview(parsed.rejected));
    return parsed;
}

void ImportDialog::openFile(const QString& path) {
    Memo_import->setPlainText(QString::fromUtf8(readImportText(path)));
    refreshSummary();
}

void ImportDialog::Button_openClick() {
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("打开文件"), QString(),
                                     QStringLiteral("文本文件 (*.txt);;CSV 文件 (*.csv);;所有文件 (*)"));
    if (!path.isEmpty())
        openFile(path);
}

void ImportDialog::Button_okClick() {
    const ParsedRecords parsed = updateSummary();
    // Nothing to import: nothing is written, and the summary says why.
    if (parsed.records.isEmpty())
        return;
    importer_(parsed.records);
    accept();
}

} // namespace dravik
