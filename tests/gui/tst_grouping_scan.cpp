// The dialog "全部分组回测" on its own, and the run that fills it: the progress dialog after 0.5 s, its
// Cancel, the failures, nothing written.
#include "gui_harness.h"
#include "pages/grouping_scan_dialog.h"
#include "storage/data_folder.h"

#include <QAccessible>
#include <QDir>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QThread>
#include <QtTest>

using namespace dravik;
using namespace dravik::test;

namespace {

const QString kArchive = QStringLiteral("测试");

// 31 draws of "0": the scan of X = 10 from 0 that the analysis tests work by hand.
QStringList zeroDraws() {
    QStringList lines;
    for (int i = 0; i < 31; ++i)
        lines.append(QStringLiteral("%1.0").arg(24001 + i));
    return lines;
}

AnalysisInputs settingsOf(const QString& x) {
    AnalysisInputs settings;
    settings.archive = kArchive;
    settings.x = x;
    settings.a = QStringLiteral("5");
    settings.b = QStringLiteral("2");
    settings.c = QStringLiteral("0");
    settings.startValue = 0;
    return settings;
}

QStringList textsOf(const QList<QLabel*>& labels) {
    QStringList texts;
    for (const QLabel* label : labels)
        texts.append(label->text());
    return texts;
}

// The names and sizes of the data folder's files.
QStringList dataFiles(const DataHome& home) {
    QStringList files;
    for (const QFileInfo& file : QDir(home.dataFolder()).entryInfoList(QDir::Files, QDir::Name))
        files.append(file.fileName() + QLatin1Char('=') + QString::number(file.size()));
    return files;
}

QProgressDialog* progressDialog() {
    for (QWidget* widget : QApplication::allWidgets()) {
        if (auto* dialog = qobject_cast<QProgressDialog*>(widget))
            return dialog;
    }
    return nullptr;
}

} // namespace

class GroupingScanTest : public WindowTestCase {
    Q_OBJECT

private slots:
    // Every line a label of its own, in reading order: its text is its accessible name, it takes the
    // keyboard focus and its text can be selected; Tab goes through them to 确定.
    void dialogLines() {
        const ScanReport report{
            {QStringLiteral("A=5，B=2，C=0，顺序，N=30：命中1个，期望0.2个， z=2.00"),
             QStringLiteral("A=5，B=2，C=0，间隔，N=30：命中1个，期望0.2个， z=2.00")},
            {QStringLiteral("共回测18种分组，最好的z=2.00。纯随机时，18种中至少一种达到它的机会约为34%"),
             QStringLiteral("最好的分组与运气无法区分")}};
        GroupingScanDialog dialog(report);
        dialog.show();
        // Active, not only exposed: the keyboard focus arrives with the activation, later under load.
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("全部分组回测"));
        const QList<QLabel*> lines = dialog.lineLabels();
        QCOMPARE(textsOf(lines), report.best + report.summary);
        QStringList names;
        for (QLabel* label : lines) {
            names.append(label->objectName());
            QCOMPARE(label->accessibleName(), label->text());
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(label);
            QVERIFY(accessible);
            QCOMPARE(accessible->text(QAccessible::Name), label->text());
            QVERIFY(label->textInteractionFlags() & Qt::TextSelectableByKeyboard);
            QCOMPARE(label->focusPolicy(), Qt::StrongFocus);
        }
        QCOMPARE(names, (QStringList{"Label_best1", "Label_best2", "Label_summary", "Label_verdict"}));
        auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("Button_ok"));
        QVERIFY(ok);
        QCOMPARE(ok->text(), QStringLiteral("确定"));
        QTRY_COMPARE(QApplication::focusWidget(), ok);
        QWidget* next = ok;
        QList<QWidget*> chain;
        for (int i = 0; i < 5; ++i) {
            next = next->nextInFocusChain();
            while (!(next->focusPolicy() & Qt::TabFocus))
                next = next->nextInFocusChain();
            chain.append(next);
        }
        QCOMPARE(chain, (QList<QWidget*>{lines[0], lines[1], lines[2], lines[3], ok}));
        QTest::keyClick(ok, Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void run() {
        writeFile(recordFilePath(kArchive), recordFileBytes(zeroDraws()));
        const QStringList filesBefore = dataFiles(*home);
        GroupingScanDialog* dialog = runGroupingScan(nullptr, settingsOf(QStringLiteral("10")));
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QCOMPARE(script->shown().size(), 1);
        QCOMPARE(script->shown()[0].title, QStringLiteral("全部分组回测"));
        QCOMPARE(script->shown()[0].text, QStringLiteral("正在回测18种分组"));
        // The scan of X = 10 from 0, K = 1, that the analysis tests work by hand: six lines and the summary.
        const ScanReport report = scanReport(*scanGroupings(zeroDraws(), 10, 0, 1));
        QCOMPARE(report.best.size(), 6);
        QCOMPARE(textsOf(dialog->lineLabels()), report.best + report.summary);
        QPointer<GroupingScanDialog> closed(dialog);
        dialog->close();
        QTRY_VERIFY(closed.isNull());
        QCOMPARE(dataFiles(*home), filesBefore);
    }

    // 取消 part-way: no dialog, nothing written.
    void cancelled() {
        writeFile(recordFilePath(kArchive), recordFileBytes(zeroDraws()));
        const QStringList filesBefore = dataFiles(*home);
        script->queueProgressCancel(5);
        QVERIFY(!runGroupingScan(nullptr, settingsOf(QStringLiteral("10"))));
        QCOMPARE(script->texts(), QStringList{QStringLiteral("正在回测18种分组")});
        for (QWidget* widget : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<GroupingScanDialog*>(widget));
        QCOMPARE(dataFiles(*home), filesBefore);
    }

    void failures_data() {
        QTest::addColumn<bool>("recordFile");
        QTest::addColumn<QString>("x");
        QTest::addColumn<QString>("message");
        QTest::newRow("no record file") << false << "10" << QStringLiteral("Dravik[测试]丢失，请重录");
        QTest::newRow("X no integer") << true << "1O" << QStringLiteral("设置错，请检查X、A、B、C值");
    }

    void failures() {
        QFETCH(bool, recordFile);
        QFETCH(QString, x);
        QFETCH(QString, message);
        if (recordFile)
            writeFile(recordFilePath(kArchive), recordFileBytes(zeroDraws()));
        QVERIFY(!runGroupingScan(nullptr, settingsOf(x)));
        QCOMPARE(script->texts(), QStringList{message});
    }

    // The real progress dialog of the scan shows only once the work has taken 0.5 s, then takes Cancel.
    void progressAfterHalfASecond() {
        script.reset();
        QWidget owner;
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        dialogs::Progress progress(&owner, QStringLiteral("全部分组回测"), QStringLiteral("正在回测54种分组"),
                                   54, 500);
        QVERIFY(progress.advance(1));
        QVERIFY(!progressDialog());
        QThread::msleep(520);
        QVERIFY(progress.advance(2));
        QProgressDialog* dialog = progressDialog();
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("全部分组回测"));
        QCOMPARE(dialog->value(), 2);
        auto* cancel = dialog->findChild<QPushButton*>();
        QVERIFY(cancel);
        QCOMPARE(cancel->text(), QStringLiteral("取消"));
        cancel->click();
        QVERIFY(!progress.advance(3));
    }
};

QTEST_MAIN(GroupingScanTest)
#include "tst_grouping_scan.moc"
