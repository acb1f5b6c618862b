#include "gui_harness.h"

#include "history_server.h"
#include "storage/data_folder.h"
#include "ui/image_button.h"
#include "ui/tab_control.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHelpEvent>
#include <QRandomGenerator>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTcpServer>
#include <QTimer>
#include <QToolTip>

namespace dravik::test {

DataHome::DataHome() {
    qputenv("XDG_DATA_HOME", dir_.path().toUtf8());
}

void WindowTestCase::init() {
    home = std::make_unique<DataHome>();
    QVERIFY(home->isValid());
    script = std::make_unique<dialogs::Script>();
}

void WindowTestCase::cleanup() {
    window.reset();
    script.reset();
    home.reset();
}

QString DataHome::dataFolder() const {
    return dir_.path() + QStringLiteral("/Dravik/");
}

QStringList longHistory() {
    QStringList lines;
    for (int i = 1; i <= 130; ++i)
        lines.append(QStringLiteral("%1.%2").arg(10000 + i).arg(i % 36 + 1, 2, 10, QLatin1Char('0')));
    return lines;
}

QStringList workedExampleLines() {
    const QStringList numbers =
        QStringLiteral("08 18 20 13 07 15 29 17 10 16 23 14 09 18 26 13 12 15 21 07 30 "
                       "11 27 08 22 24 19 20 05 03")
            .split(QLatin1Char(' '));
    QStringList lines;
    for (int i = 0; i < numbers.size(); ++i)
        lines.append(QStringLiteral("240%1.%2").arg(i + 1, 2, 10, QLatin1Char('0')).arg(numbers.at(i)));
    return lines;
}

QStringList redBallHistory() {
    QRandomGenerator random(33);
    QStringList lines;
    for (int draw = 1; draw <= 100; ++draw) {
        QList<int> balls;
        while (balls.size() < 6) {
            const int ball = int(random.bounded(33)) + 1;
            if (!balls.contains(ball))
                balls.append(ball);
        }
        std::sort(balls.begin(), balls.end());
        QStringList texts;
        for (const int ball : balls)
            texts.append(QStringLiteral("%1").arg(ball, 2, 10, QLatin1Char('0')));
        lines.append(QStringLiteral("2024%1.%2").arg(draw, 3, 10, QLatin1Char('0')).arg(texts.join(' ')));
    }
    return lines;
}

QByteArray recordFileBytes(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/'))));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString closedSiteRoot() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost))
        return QStringLiteral("http://127.0.0.1:9");
    const quint16 port = probe.serverPort();
    probe.close();
    return QStringLiteral("http://127.0.0.1:%1").arg(port);
}

void showAndWaitForStart(MainWindow& window) {
    window.show();
    // Past the download's time limit, should a test's server not answer.
    QTRY_VERIFY_WITH_TIMEOUT(window.hasStarted(), 15000);
}

std::unique_ptr<MainWindow> startWindow(const QString& siteRoot) {
    auto window = std::make_unique<MainWindow>(WindowOptions{siteRoot});
    showAndWaitForStart(*window);
    return window;
}

std::unique_ptr<MainWindow> startOnMainPage(const QString& siteRoot) {
    std::unique_ptr<MainWindow> window = startWindow(siteRoot);
    window->onTick();
    return window;
}

void pickFromList(QComboBox* combo, const QString& text) {
    const int row = combo->findText(text);
    QVERIFY2(row >= 0, qPrintable(text));
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    QTRY_VERIFY(view->isVisible());
    const QModelIndex index = combo->model()->index(row, 0);
    view->scrollTo(index);
    const QPoint centre = view->visualRect(index).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre);
    QTRY_VERIFY(!view->isVisible());
}

QStringList gridRows(MainWindow& window) {
    return gridRows(*control<QTableWidget>(&window, "StringGrid1"));
}

QWidget* shownPage(MainWindow& window) {
    return control<QStackedWidget>(&window, "Tab_back")->currentWidget();
}
QWidget* splashPage(MainWindow& window) {
    return control<SplashPage>(&window, "Tab1");
}
QWidget* mainPage(MainWindow& window) {
    return control<QWidget>(&window, "Tab2");
}
DataEntryPage* entryPage(MainWindow& window) {
    return control<DataEntryPage>(&window, "Tab3");
}
MainHeader* header(MainWindow& window) {
    return control<MainHeader>(&window, "Layout_top");
}
ui::TabControl* tabBar(MainWindow& window) {
    return control<ui::TabControl>(&window, "TabControl1");
}
ui::ImageButton* saveButton(MainWindow& window) {
    return control<ui::ImageButton>(&window, "Button_save");
}
QTimer* splashTimer(MainWindow& window) {
    return control<QTimer>(&window, "Timer1");
}
AnalysisTab* analysisTab(MainWindow& window) {
    return window.findChild<AnalysisTab*>();
}
TrendTab* trendTab(MainWindow& window) {
    return window.findChild<TrendTab*>();
}
SettingsTab* settingsTab(MainWindow& window) {
    return window.findChild<SettingsTab*>();
}
HelpTab* helpTab(MainWindow& window) {
    return window.findChild<HelpTab*>();
}

QStringList gridRows(const QTableWidget& grid) {
    QStringList rows;
    for (int r = 0; r < grid.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid.columnCount(); ++c)
            cells.append(grid.item(r, c) ? grid.item(r, c)->text() : QString());
        rows.append(cells.join(QLatin1Char('|')));
    }
    return rows;
}

QStringList comboItems(const QComboBox& combo) {
    QStringList items;
    for (int i = 0; i < combo.count(); ++i)
        items.append(combo.itemText(i));
    return items;
}

QString toolTipAt(QWidget* widget, QPoint at) {
    // A tooltip just hidden still counts as shown for a moment.
    QToolTip::hideText();
    if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }))
        return QStringLiteral("(the last tooltip stays)");
    QHelpEvent event(QEvent::ToolTip, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &event);
    const QString text = QToolTip::isVisible() ? QToolTip::text() : QString();
    QToolTip::hideText();
    return text;
}

namespace {

void writeBuiltInArchive(const DataHome& home) {
    writeFile(home.dataFolder() + kBuiltInArchive + QStringLiteral(".dat"),
              recordFileBytes(workedExampleLines()));
}

} // namespace

std::unique_ptr<MainWindow> startOffline(const DataHome& home) {
    writeBuiltInArchive(home);
    return startOnMainPage(closedSiteRoot());
}

std::unique_ptr<MainWindow> startOnArchive(const DataHome& home, const QString& archive,
                                           const std::optional<QByteArray>& records) {
    writeBuiltInArchive(home);
    // Written after the built-in archive's, which it may be.
    if (records)
        writeFile(home.dataFolder() + archive + QStringLiteral(".dat"), *records);
    writeFile(home.dataFolder() + QStringLiteral("set.ini"), globalBytes(3, archive));
    return startOnMainPage(closedSiteRoot());
}

QByteArray settingsBytes(const QString& name, const QString& xabc, int r1, int r2, int r3, int k) {
    const QStringList v = xabc.split(QLatin1Char(' '));
    const QString numbersPerDraw = k == 1 ? QString() : QStringLiteral("K=%1\r\n").arg(k);
    return QStringLiteral("[dravik]\r\nname=%1\r\n[math]\r\nX=%2\r\nA=%3\r\nB=%4\r\nC=%5\r\n%6"
                          "[from]\r\nr1=%7\r\n[model]\r\nr2=%8\r\n[count]\r\nr3=%9\r\n")
        .arg(name, v[0], v[1], v[2], v[3], numbersPerDraw)
        .arg(r1)
        .arg(r2)
        .arg(r3)
        .toUtf8();
}

QByteArray globalBytes(int count, const QString& name) {
    return QStringLiteral("[runtime]\r\ncount=%1\r\n[dravik]\r\nname=%2\r\n").arg(count).arg(name).toUtf8();
}

QByteArray historyPage(const QStringList& lines) {
    QByteArray body = "<html><head><meta charset=\"utf-8\"></head><body><table>\n";
    for (auto it = lines.crbegin(); it != lines.crend(); ++it) {
        const QStringList parts = it->split(QLatin1Char('.'));
        body += "<tr><td class=\"qh\">20" + parts[0].toUtf8() + "</td><td><i class=\"ball\" No=\"" +
                parts[1].toUtf8() + "\"></i></td></tr>\n";
    }
    return body + "</table></body></html>\n";
}

void serveWorkedExample(HistoryServer& server) {
    const QStringList lines = workedExampleLines();
    server.setPage(1, HttpResponse::page(historyPage(lines.mid(20, 10))));
    server.setPage(2, HttpResponse::page(historyPage(lines.mid(10, 10))));
    server.setPage(3, HttpResponse::page(historyPage(lines.mid(0, 10))));
    server.setPage(4, HttpResponse::page("<html><body>no draws</body></html>"));
}

} // namespace dravik::test
