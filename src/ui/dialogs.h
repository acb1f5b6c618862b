#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QProgressDialog;
class QWidget;

namespace dravik::dialogs {

// Answers of the confirmation dialog, as its callers test them.
constexpr int kYes = 6;
constexpr int kNo = 7;

// The message box: title "提示", one OK button; returns when it is closed.
void showMessage(QWidget* owner, const QString& text);

// The confirmation dialog: title "确认", question icon, Yes and No with Yes the default; it stays
// until one of them is pressed (Esc and closing the box do nothing). The answer goes to onAnswer
// before this call returns, so the caller finds its effects done.
void confirm(QWidget* owner, const QString& text, const std::function<void(int)>& onAnswer);

// The error box: title "错误", error icon, one OK button, the text after the full-stop rule.
void showError(QWidget* owner, const QString& message);

// The save-file dialog, the desktop's own where it has one: the chosen path, empty when cancelled. A
// name chosen without a suffix gets `defaultSuffix` ("csv"), as a save dialog of the desktop adds it.
QString askSaveFileName(QWidget* owner, const QString& caption, const QString& proposedPath,
                        const QString& filter, const QString& defaultSuffix);

// The open-file dialog, the desktop's own where it has one, starting in the user's documents folder:
// the chosen path, empty when cancelled.
QString askOpenFileName(QWidget* owner, const QString& caption, const QString& filter);

// Where the file dialogs start: the user's documents folder, else the home folder. Never the
// program's working folder, which a shortcut may have set to one of the program's own.
QString documentsFolder();

// The progress dialog of work done in steps on the GUI thread: title, text and a Cancel button
// "取消", modal to the owner's window, shown at once, or with `showAfterMs` at the first step after
// that long (work done sooner shows nothing). Once shown it lets the window repaint and takes a click
// on Cancel (or Esc) at each step; it closes when dropped.
class Progress {
public:
    Progress(QWidget* owner, const QString& title, const QString& text, int steps, int showAfterMs = 0);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // `done` of the steps are done. False once the user has cancelled: the work stops there.
    bool advance(int done);

private:
    void show(int done);

    QWidget* owner_;
    QString title_, text_;
    int steps_;
    int showAfterMs_;
    QElapsedTimer sinceStart_;
    std::unique_ptr<QProgressDialog> dialog_;
    bool scripted_ = false;
    int cancelAt_ = -1; // scripted: the step at which the user cancels
    bool cancelled_ = false;
};

// The path with ".suffix" added when its file name has no suffix of its own.
QString withDefaultSuffix(const QString& path, const QString& suffix);

// An error message as the error box shows it: a "." is added unless the message already ends in a
// character at or below U+002E (so "x." "x!" "x " stay, "x" and "x）" get one).
QString errorBoxText(const QString& message);

// A box as it was shown: its title and its text; for a file dialog its caption, the path or folder it
// starts at and its filter.
struct Shown {
    QString title;
    QString text;
    QString filter = {};
};

// Test seam. While a Script exists no real box opens: every box is recorded, and each question takes
// the next queued answer (No when none is queued, which the script counts as unanswered). A save-file
// dialog is recorded with its caption and proposed path, an open-file dialog with its caption, folder
// and filter; each takes the next queued file name (none queued: cancelled). A progress dialog is
// recorded with its title and text when it is made (one shown only after a delay too) and runs to its
// end, or is cancelled at the step queued for it.
class Script {
public:
    Script();
    ~Script();
    Script(const Script&) = delete;
    Script& operator=(const Script&) = delete;

    void queueAnswer(int answer);
    void queueFileName(const QString& path);
    // The next progress dialog is cancelled once `done` of its steps are done.
    void queueProgressCancel(int done);
    const QList<Shown>& shown() const { return shown_; }
    QStringList texts() const;
    int unanswered() const { return unanswered_; }
    int pendingAnswers() const { return int(answers_.size()); }
    void clear();

private:
    friend int answerFromScript(const QString&, const QString&);
    friend void recordInScript(const QString&, const QString&, const QString&);
    friend QString fileNameFromScript(const QString&, const QString&, const QString&);
    friend class Progress;
    QList<int> answers_;
    QStringList fileNames_;
    QList<int> progressCancels_;
    QList<Shown> shown_;
    int unanswered_ = 0;
};

} // namespace dravik::dialogs
