// An archive kept current from the page where its history lives: read through the import dialog's
// 网址 and 读取 from pages this test serves on 127.0.0.1, the address remembered in the archive's
// settings file, 更新 on the data-entry page, and the update at start-up.
#include "gui_harness.h"
#include "history_server.h"
#include "history_table_page.h"
#include "pages/import_dialog.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>

using namespace dravik;
using namespace dravik::test;

namespace {

const QString kArchive = QStringLiteral("双色球红球");

// 双色球's red balls, each number a row of its own (33 ÷ 33 = 1 … 0), counted from one.
QByteArray redBallSettings() {
    return QStringLiteral("[dravik]\r\nname=%1\r\n[math]\r\nX=33\r\nA=33\r\nB=1\r\nC=0\r\nK=6\r\n"
                          "[from]\r\nr1=1\r\n[model]\r\nr2=0\r\n[count]\r\nr3=0\r\n")
        .arg(kArchive)
        .toUtf8();
}

QString recordOf(const LotteryDraw& draw) {
    return draw.period + QLatin1Char('.') + draw.reds.join(QLatin1Char(' '));
}

QStringList recordsOf(const QList<LotteryDraw>& draws) {
    QStringList records;
    for (const LotteryDraw& draw : draws)
        records.append(recordOf(draw));
    return records;
}

QByteArray sourceSection(const QString& url, const QString& column, bool autoUpdate) {
    return QStringLiteral("[source]\r\nurl=%1\r\ncolumn=%2\r\nauto=%3\r\n")
        .arg(url, column)
        .arg(autoUpdate ? 1 : 0)
        .toUtf8();
}

} // namespace

Q_DECLARE_METATYPE(dravik::test::HttpResponse)

class AddressTest : public WindowTestCase {
    Q_OBJECT

    HistoryServer server;

    QString path(const QString& suffix) const { return home->dataFolder() + kArchive + suffix; }
    QString url(const char* page) const { return server.root() + QLatin1String(page); }

    // The archive of red balls holding the draws (none: no record file), opened on the data-entry
    // page; its settings file those of the red balls unless the test wrote one.
    void openArchive(const std::optional<QStringList>& records) {
        if (!QFile::exists(path(QStringLiteral(".ini"))))
            writeFile(path(QStringLiteral(".ini")), redBallSettings());
        window = startOnArchive(*home, kArchive,
                                records ? std::optional(recordFileBytes(*records)) : std::nullopt);
        tabBar(*window)->setCurrentIndex(MainWindow::kSettingsTab);
        QTest::mouseClick(control<ui::ImageButton>(settingsTab(*window), "Button_in"), Qt::LeftButton);
        script->clear();
    }

    ImportDialog* openDialog(const char* button = "Button_import") {
        QGuiApplication::clipboard()->clear();
        QTest::mouseClick(control<ui::ImageButton>(entryPage(*window), button), Qt::LeftButton);
        auto* dialog = window->findChild<ImportDialog*>();
        if (dialog && !QTest::qWaitForWindowExposed(dialog))
            qWarning("dialog not exposed");
        return dialog;
    }

    // Types the address and clicks 读取; the dialog then reads the page.
    void read(ImportDialog* dialog, const QString& address) {
        auto* field = control<QLineEdit>(dialog, "Edit_url");
        field->selectAll();
        QTest::keyClicks(field, address);
        QTest::mouseClick(control<QPushButton>(dialog, "Button_fetch"), Qt::LeftButton);
    }

    QString summary(ImportDialog* dialog) { return control<QLabel>(dialog, "Label_summary")->text(); }

private slots:
    void initTestCase() { QVERIFY(server.start()); }

    // A history page read through the dialog, as a player would: the address, 读取, the choice the
    // dialog picks, 导入. The records are the red balls of the page's 300 draws, and the address is
    // remembered with the choice.
    void readAndImport_data() {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QString>("choice");
        QTest::addColumn<int>("rejected"); // the caption line
        const QList<LotteryDraw> draws = lotteryDraws(300);
        QTest::newRow("GBK page, its charset in the header")
            << historyTablePage(draws, PageCharset::Gbk) << QByteArray("text/html; charset=GBK")
            << "第3列起6列" << 1;
        QTest::newRow("GBK page, its charset in the meta")
            << historyTablePage(draws, PageCharset::Gbk) << QByteArray("text/html") << "第3列起6列" << 1;
        QTest::newRow("UTF-8 page, its charset in the meta")
            << historyTablePage(draws, PageCharset::Utf8) << QByteArray("text/html") << "第3列起6列" << 1;
        QTest::newRow("CSV") << historyCsv(draws) << QByteArray("text/csv") << "第3列起6列" << 1;
        QTest::newRow("plain text") << historyText(draws) << QByteArray("text/plain") << "第2列起6列" << 0;
    }

    void readAndImport() {
        QFETCH(QByteArray, page);
        QFETCH(QByteArray, contentType);
        QFETCH(QString, choice);
        QFETCH(int, rejected);
        server.setResponse("/ssq", HttpResponse::page(page, contentType));
        openArchive(std::nullopt);
        ImportDialog* dialog = openDialog();
        QVERIFY(dialog);
        QVERIFY(!control<QCheckBox>(dialog, "Check_auto")->isEnabled());
        read(dialog, url("/ssq"));
        QTRY_COMPARE(control<QPushButton>(dialog, "Button_fetch")->text(), QStringLiteral("读取"));
        QVERIFY(!control<QLabel>(dialog, "Label_fetch")->isVisible());
        QCOMPARE(control<QComboBox>(dialog, "Combo_column")->currentText(), choice);
        QCOMPARE(summary(dialog), QStringLiteral("新增300条，替换0条，相同0条，无法识别%1行").arg(rejected));
        QVERIFY(control<QCheckBox>(dialog, "Check_auto")->isEnabled());
        QTest::mouseClick(control<QPushButton>(dialog, "Button_ok"), Qt::LeftButton);
        QTRY_VERIFY(!window->findChild<ImportDialog*>());
        QCOMPARE(script->texts(), QStringList());
        QCOMPARE(readFile(path(QStringLiteral(".dat"))), recordFileBytes(recordsOf(lotteryDraws(300))));
        QCOMPARE(readFile(path(QStringLiteral(".ini"))),
                 redBallSettings() + sourceSection(url("/ssq"), choice, false));
        QVERIFY(control<ui::ImageButton>(entryPage(*window), "Button_update")->isEnabled());
    }

    // A read that fails says why under the address and changes nothing: the text, the record file
    // and the settings file stay as they were.
    void failedRead_data() {
        QTest::addColumn<HttpResponse>("response");
        QTest::addColumn<QString>("address"); // empty: the served page's
        QTest::addColumn<QString>("reason");
        QByteArray huge(8 * 1024 * 1024 + 1, 'x');
        QTest::newRow("404") << HttpResponse::error(404, "Not Found") << QString() << "HTTP 404";
        QTest::newRow("over 8 MiB") << HttpResponse::page(huge, "text/plain") << QString() << "页面超过8 MiB";
        QTest::newRow("a redirect to ftp:")
            << HttpResponse::redirect("ftp://127.0.0.1/ssq.txt") << QString() << "重定向到非http(s)网址";
        QTest::newRow("never answers") << HttpResponse::silent() << QString() << "超时";
        QTest::newRow("a picture") << HttpResponse::page("\x89PNG", "image/png") << QString()
                                   << "不是文本页面";
        QTest::newRow("no address of the web") << HttpResponse() << "ftp://127.0.0.1/ssq"
                                               << "网址须以http://或https://开头";
    }

    void failedRead() {
        QFETCH(HttpResponse, response);
        QFETCH(QString, address);
        QFETCH(QString, reason);
        server.setResponse("/bad", response);
        openArchive(QStringList{"2023001.01 02 03 04 05 06"});
        ImportDialog* dialog = openDialog();
        QVERIFY(dialog);
        dialog->setReadTimeLimit(1000);
        auto* text = control<QPlainTextEdit>(dialog, "Memo_import");
        text->setPlainText(QStringLiteral("2023002 07 08 09 10 11 12 13"));
        read(dialog, address.isEmpty() ? url("/bad") : address);
        QCOMPARE(control<QPushButton>(dialog, "Button_fetch")->text(),
                 address.isEmpty() ? QStringLiteral("停止") : QStringLiteral("读取"));
        QTRY_COMPARE_WITH_TIMEOUT(control<QLabel>(dialog, "Label_fetch")->text(), "读取失败：" + reason,
                                  10000);
        QCOMPARE(control<QPushButton>(dialog, "Button_fetch")->text(), QStringLiteral("读取"));
        QCOMPARE(text->toPlainText(), QStringLiteral("2023002 07 08 09 10 11 12 13"));
        // What the field holds is imported as pasted text: no address is remembered for it.
        QTest::mouseClick(control<QPushButton>(dialog, "Button_ok"), Qt::LeftButton);
        QTRY_VERIFY(!window->findChild<ImportDialog*>());
        QCOMPARE(readFile(path(QStringLiteral(".ini"))), redBallSettings());
        QCOMPARE(readFile(path(QStringLiteral(".dat"))),
                 recordFileBytes({"2023001.01 02 03 04 05 06", "2023002.07 08 09 10 11 12"}));
        QCOMPARE(script->texts(), QStringList());
    }

    // 停止 abandons a read that goes on, and the dialog is as it was.
    void stopReading() {
        server.setResponse("/slow", HttpResponse::silent());
        openArchive(QStringList{"2023001.01 02 03 04 05 06"});
        ImportDialog* dialog = openDialog();
        QVERIFY(dialog);
        read(dialog, url("/slow"));
        QCOMPARE(control<QPushButton>(dialog, "Button_fetch")->text(), QStringLiteral("停止"));
        QTest::mouseClick(control<QPushButton>(dialog, "Button_fetch"), Qt::LeftButton);
        QCOMPARE(control<QPushButton>(dialog, "Button_fetch")->text(), QStringLiteral("读取"));
        QVERIFY(control<QLabel>(dialog, "Label_fetch")->text().isEmpty());
        QCOMPARE(control<QPlainTextEdit>(dialog, "Memo_import")->toPlainText(), QString());
    }

    // An archive of one number a draw that never used an address keeps its settings file byte for
    // byte through an import of pasted text.
    void pastedImportKeepsTheSettingsFile() {
        const QString archive = QStringLiteral("蓝球");
        const QByteArray settings = settingsBytes(archive, QStringLiteral("16 4 4 0"), 1, 0, 0);
        writeFile(home->dataFolder() + archive + QStringLiteral(".ini"), settings);
        window = startOnArchive(*home, archive, recordFileBytes({"2023001.05"}));
        tabBar(*window)->setCurrentIndex(MainWindow::kSettingsTab);
        QTest::mouseClick(control<ui::ImageButton>(settingsTab(*window), "Button_in"), Qt::LeftButton);
        QVERIFY(!control<ui::ImageButton>(entryPage(*window), "Button_update")->isEnabled());
        QGuiApplication::clipboard()->setText(QStringLiteral("2023002 01 02 03 04 05 06 16"));
        QTest::mouseClick(control<ui::ImageButton>(entryPage(*window), "Button_import"), Qt::LeftButton);
        auto* dialog = window->findChild<ImportDialog*>();
        QVERIFY(dialog);
        QTest::mouseClick(control<QPushButton>(dialog, "Button_ok"), Qt::LeftButton);
        QTRY_VERIFY(!window->findChild<ImportDialog*>());
        QCOMPARE(readFile(home->dataFolder() + archive + QStringLiteral(".dat")),
                 recordFileBytes({"2023001.05", "2023002.16"}));
        QCOMPARE(readFile(home->dataFolder() + archive + QStringLiteral(".ini")), settings);
    }

    // 更新 after two more draws appear on the page: one click reads it, with the remembered choice,
    // and one more imports them.
    void update() {
        const QList<LotteryDraw> draws = lotteryDraws(302);
        server.setResponse("/ssq",
                           HttpResponse::page(historyTablePage(draws, PageCharset::Utf8), "text/html"));
        // Not updated at start-up: the player updates by hand.
        writeFile(path(QStringLiteral(".ini")),
                  redBallSettings() + sourceSection(url("/ssq"), "最后一列之前6列", false));
        openArchive(recordsOf(draws.first(300)));
        QVERIFY(control<ui::ImageButton>(entryPage(*window), "Button_update")->isEnabled());
        QCOMPARE(control<ui::ImageButton>(entryPage(*window), "Button_update")->accessibleName(),
                 QStringLiteral("更新"));
        ImportDialog* dialog = openDialog("Button_update");
        QVERIFY(dialog);
        QCOMPARE(control<QLineEdit>(dialog, "Edit_url")->text(), url("/ssq"));
        QVERIFY(!control<QCheckBox>(dialog, "Check_auto")->isChecked());
        QTRY_COMPARE(summary(dialog), QStringLiteral("新增2条，替换0条，相同300条，无法识别1行"));
        QCOMPARE(control<QComboBox>(dialog, "Combo_column")->currentText(),
                 QStringLiteral("最后一列之前6列"));
        QCOMPARE(control<QLabel>(dialog, "Label_records")->text(),
                 "新增 " + recordOf(draws[300]) + "\n新增 " + recordOf(draws[301]));
        QTest::mouseClick(control<QCheckBox>(dialog, "Check_auto"), Qt::LeftButton);
        QTest::mouseClick(control<QPushButton>(dialog, "Button_ok"), Qt::LeftButton);
        QTRY_VERIFY(!window->findChild<ImportDialog*>());
        QCOMPARE(readFile(path(QStringLiteral(".dat"))), recordFileBytes(recordsOf(draws)));
        QCOMPARE(script->texts(), QStringList());
        // 启动时自动更新, checked at this import, kept with the address and the choice.
        QCOMPARE(readFile(path(QStringLiteral(".ini"))),
                 redBallSettings() + sourceSection(url("/ssq"), "最后一列之前6列", true));
    }

    // With 启动时自动更新 on, a start adds the page's new draw and leaves the archive's own record of
    // an old one as it was, then analyses: the analysis counts the new draw.
    void updateAtStart() {
        QList<LotteryDraw> draws = lotteryDraws(301);
        const QStringList held = recordsOf(draws.first(300));
        LotteryDraw changed = draws[299];
        changed.reds = QStringList{"01", "02", "03", "04", "05", "06"};
        QList<LotteryDraw> onPage = draws;
        onPage[299] = changed;
        server.setResponse("/ssq",
                           HttpResponse::page(historyTablePage(onPage, PageCharset::Gbk), "text/html"));
        serveWorkedExample(server);
        writeFile(path(QStringLiteral(".ini")),
                  redBallSettings() + sourceSection(url("/ssq"), "第3列起6列", true));
        writeFile(path(QStringLiteral(".dat")), recordFileBytes(held));
        writeFile(home->dataFolder() + QStringLiteral("set.ini"), globalBytes(3, kArchive));
        window = startWindow(server.root());
        QCOMPARE(script->texts(), QStringList());
        QCOMPARE(readFile(path(QStringLiteral(".dat"))),
                 recordFileBytes(held + QStringList{recordOf(draws[300])}));
        // 出现值 of each number over the latest 30 draws, the new one among them.
        const QStringList rows = gridRows(*window);
        QCOMPARE(rows.size(), 33);
        for (int n = 1; n <= 33; ++n) {
            int hits = 0;
            for (int draw = 271; draw <= 300; ++draw)
                hits +=
                    draws[draw].reds.contains(QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'))) ? 1 : 0;
            QCOMPARE(rows[n - 1].section('|', 1, 1), QString::number(hits));
        }
    }

    // A page that never answers: one message, and the window opens.
    void updateAtStartFails() {
        server.setResponse("/dead", HttpResponse::silent());
        serveWorkedExample(server);
        writeFile(path(QStringLiteral(".ini")),
                  redBallSettings() + sourceSection(url("/dead"), "第3列起6列", true));
        const QByteArray records = recordFileBytes(recordsOf(lotteryDraws(30)));
        writeFile(path(QStringLiteral(".dat")), records);
        writeFile(home->dataFolder() + QStringLiteral("set.ini"), globalBytes(3, kArchive));
        WindowOptions options{server.root()};
        options.pageTimeLimitMs = 1000;
        window = std::make_unique<MainWindow>(options);
        showAndWaitForStart(*window);
        QCOMPARE(script->texts(), QStringList{QStringLiteral("更新失败：%1：超时").arg(kArchive)});
        QVERIFY(window->isVisible());
        QCOMPARE(readFile(path(QStringLiteral(".dat"))), records);
        QCOMPARE(gridRows(*window).size(), 33);
    }

    // Without 启动时自动更新 the start reads nothing.
    void noUpdateWithoutAuto() {
        serveWorkedExample(server);
        server.setResponse("/ssq", HttpResponse::page(historyText(lotteryDraws(31)), "text/plain"));
        writeFile(path(QStringLiteral(".ini")),
                  redBallSettings() + sourceSection(url("/ssq"), "第2列起6列", false));
        const QByteArray records = recordFileBytes(recordsOf(lotteryDraws(30)));
        writeFile(path(QStringLiteral(".dat")), records);
        writeFile(home->dataFolder() + QStringLiteral("set.ini"), globalBytes(3, kArchive));
        const qsizetype before = server.requests().size();
        window = startWindow(server.root());
        QCOMPARE(readFile(path(QStringLiteral(".dat"))), records);
        QVERIFY(!server.requestedPaths().mid(before).contains(QByteArray("/ssq")));
    }
};

DRAVIK_GUI_TEST_MAIN(AddressTest)
#include "tst_address.moc"
