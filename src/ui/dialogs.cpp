#include "ui/dialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QWidget>

namespace dravik::dialogs {

namespace {

Script* activeScript = nullptr;

QWidget* activeOwner(QWidget* fallback) {
    QWidget* active = QApplication::activeWindow();
    return active ? active : fallback;
}

// A question with Yes and No only. QMessageBox takes Esc and the title bar's close button for No;
// here they do nothing, so a change is never thrown away by a key meant to dismiss a box.
class QuestionBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->matches(QKeySequence::Cancel)) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }

    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

} // namespace

void recordInScript(const QString& title, const QString& text, const QString& filter) {
    activeScript->shown_.append({title, text, filter});
}

QString fileNameFromScript(const QString& caption, const QString& start, const QString& filter) {
    recordInScript(caption, start, filter);
    return activeScript->fileNames_.isEmpty() ? QString() : activeScript->fileNames_.takeFirst();
}

int answerFromScript(const QString& title, const QString& text) {
    recordInScript(title, text, {});
    if (activeScript->answers_.isEmpty()) {
        ++activeScript->unanswered_;
        return kNo;
    }
    return activeScript->answers_.takeFirst();
}

void showMessage(QWidget* owner, const QString& text) {
    const QString title = QStringLiteral("提示");
    if (activeScript) {
        recordInScript(title, text, {});
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, owner);
    box.exec();
}

void confirm(QWidget* owner, const QString& text, const std::function<void(int)>& onAnswer) {
    const QString title = QStringLiteral("确认");
    int answer = kNo;
    if (activeScript) {
        answer = answerFromScript(title, text);
    } else {
        QuestionBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                        activeOwner(owner));
        box.setDefaultButton(QMessageBox::Yes);
        answer = box.exec() == QMessageBox::Yes ? kYes : kNo;
    }
    onAnswer(answer);
}

void showError(QWidget* owner, const QString& message) {
    const QString title = QStringLiteral("错误");
    const QString text = errorBoxText(message);
    if (activeScript) {
        recordInScript(title, text, {});
        return;
    }
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, activeOwner(owner));
    box.exec();
}

QString askSaveFileName(QWidget* owner, const QString& caption, const QString& proposedPath,
                        const QString& filter, const QString& defaultSuffix) {
    if (activeScript)
        return withDefaultSuffix(fileNameFromScript(caption, proposedPath, filter), defaultSuffix);
    // An instance rather than QFileDialog::getSaveFileName, which has no default suffix: the dialog
    // then also asks about replacing the file the suffixed name names.
    QFileDialog dialog(activeOwner(owner), caption, proposedPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return withDefaultSuffix(dialog.selectedFiles().constFirst(), defaultSuffix);
}

QString askOpenFileName(QWidget* owner, const QString& caption, const QString& filter) {
    const QString folder = documentsFolder();
    if (activeScript)
        return fileNameFromScript(caption, folder, filter);
    return QFileDialog::getOpenFileName(activeOwner(owner), caption, folder, filter);
}

QString documentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
}

Progress::Progress(QWidget* owner, const QString& title, const QString& text, int steps, int showAfterMs)
    : owner_(owner), title_(title), text_(text), steps_(steps), showAfterMs_(showAfterMs) {
    if (activeScript) {
        scripted_ = true;
        recordInScript(title, text, {});
        if (!activeScript->progressCancels_.isEmpty())
            cancelAt_ = activeScript->progressCancels_.takeFirst();
        return;
    }
    if (showAfterMs_ > 0)
        sinceStart_.start();
    else
        show(0);
}

Progress::~Progress() = default;

void Progress::show(int done) {
    dialog_ =
        std::make_unique<QProgressDialog>(text_, QStringLiteral("取消"), 0, steps_, activeOwner(owner_));
    dialog_->setWindowTitle(title_);
    dialog_->setWindowModality(Qt::WindowModal);
    // Closed by its owner, not by reaching the end, so that the last step is still seen.
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->setMinimumDuration(0);
    dialog_->setValue(done);
    dialog_->show();
    QCoreApplication::processEvents();
}

bool Progress::advance(int done) {
    if (cancelled_)
        return false;
    if (scripted_) {
        cancelled_ = cancelAt_ >= 0 && done >= cancelAt_;
        return !cancelled_;
    }
    // Until it shows, nothing else of the window runs: no event is taken.
    if (!dialog_) {
        if (sinceStart_.elapsed() < showAfterMs_)
            return true;
        show(done);
    }
    dialog_->setValue(done);
    // A modal progress dialog takes its events in setValue, but only when the value changed.
    QCoreApplication::processEvents();
    cancelled_ = dialog_->wasCanceled();
    return !cancelled_;
}

QString withDefaultSuffix(const QString& path, const QString& suffix) {
    if (path.isEmpty() || suffix.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QLatin1Char('.') + suffix;
}

QString errorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back().unicode() <= u'.')
        return message;
    return message + QLatin1Char('.');
}

Script::Script() {
    Q_ASSERT(!activeScript);
    activeScript = this;
}

Script::~Script() {
    activeScript = nullptr;
}

void Script::queueAnswer(int answer) {
    answers_.append(answer);
}

void Script::queueFileName(const QString& path) {
    fileNames_.append(path);
}

void Script::queueProgressCancel(int done) {
    progressCancels_.append(done);
}

QStringList Script::texts() const {
    QStringList texts;
    for (const Shown& box : shown_)
        texts.append(box.text);
    return texts;
}

void Script::clear() {
    answers_.clear();
    fileNames_.clear();
    progressCancels_.clear();
    shown_.clear();
    unanswered_ = 0;
}

} // namespace dravik::dialogs
