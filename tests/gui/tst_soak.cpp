// A long seeded run of the data-entry page against a small model of its record list and record file:
// adding, replacing (Yes and No), deleting, clicking rows, going back and opening again, with valid,
// empty, odd and very long texts. After every action the record file must hold exactly the bytes the
// model predicts, and the table, the period list, the fields and the boxes shown must match it too.
//
// DRAVIK_SOAK_SEED repeats a run (the seed is printed at the start); DRAVIK_SOAK_ACTIONS sets its length.
#include "gui_harness.h"
#include "pages/data_entry_page.h"
#include "pages/settings_tab.h"
#include "storage/data_folder.h"
#include "storage/record_order.h"
#include "ui/choice_combo.h"
#include "ui/image_button.h"
#include "ui/tab_control.h"

#include <QLineEdit>
#include <QRandomGenerator>
#include <QStackedWidget>
#include <QTableWidget>

using namespace dravik;
using namespace dravik::test;

namespace {

const QString kArchive = QStringLiteral("测试");
const QString kQuestion = QStringLiteral("记录已存在，是否更改？");
const QString kEmptyFields = QStringLiteral("请先填写期数和号码");
const QString kNothingToDelete = QStringLiteral("未选择期数或无记录");
const QString kNoSuchRecord = QStringLiteral("记录不存在");

// The page and its record file as the program should have them.
struct Model {
    static constexpr int kWindow = 100;

    QStringList file;  // the record file's lines
    QStringList older; // lines before the window, written back first by every save
    QStringList list;  // the data-entry page's record list
    QStringList shown; // the lines of the table's rows, top row first
    QString period, number;
    bool onPage = false;
    bool changed = false; // since the page was opened: going back analyses again

    static QString periodOf(const QString& line) {
        const qsizetype dot = line.indexOf(QLatin1Char('.'));
        return dot < 0 ? QString() : line.left(dot);
    }
    static QString numberOf(const QString& line) {
        const qsizetype dot = line.indexOf(QLatin1Char('.'));
        return dot < 0 ? line : line.mid(dot + 1);
    }

    void load() {
        const qsizetype split = std::max<qsizetype>(file.size() - kWindow, 0);
        older = file.first(split);
        list = file.mid(split);
        shown.clear();
        for (auto it = list.crbegin(); it != list.crend(); ++it)
            shown.append(*it);
    }
    void save() { file = older + list; }
    void sort() { sortRecords(list); }

    std::optional<int> findPeriod(const QString& p) const {
        for (int i = 0; i < list.size(); ++i) {
            if (periodOf(list[i]) == p)
                return i;
        }
        return std::nullopt;
    }

    QStringList rows() const {
        QStringList rows;
        for (int r = 0; r < shown.size(); ++r)
            rows.append(
                QStringLiteral("%1|%2|%3").arg(shown.size() - r).arg(periodOf(shown[r]), numberOf(shown[r])));
        return rows;
    }

    QStringList periodChoices() const {
        QStringList periods;
        for (const QString& line : shown) {
            const QString p = periodOf(line);
            if (std::none_of(periods.cbegin(), periods.cend(),
                             [&p](const QString& q) { return sameRecord(q, p); }))
                periods.append(p);
        }
        return periods;
    }

    QByteArray bytes() const {
        QByteArray bytes;
        for (const QString& line : file)
            bytes += line.toUtf8() + "\r\n";
        return bytes;
    }
};

// Texts the user types or pastes: mostly a small set of periods so that adds meet existing ones,
// and now and then an empty, odd or very long one.
class Texts {
public:
    explicit Texts(quint32 seed) : random_(seed) {}

    int below(int n) { return int(random_.bounded(n)); }
    bool chance(int percent) { return below(100) < percent; }

    QString period() {
        if (chance(70))
            return QStringLiteral("240%1").arg(below(40) + 1, 2, 10, QLatin1Char('0'));
        return odd();
    }
    QString number() {
        if (chance(75))
            return QString::number(below(61));
        return odd();
    }

private:
    QString odd() {
        static const QStringList kOdd = {
            QString(),
            QStringLiteral(" "),
            QStringLiteral("a1"),
            QStringLiteral("A1"),
            QStringLiteral("1.2"),
            QStringLiteral("."),
            QStringLiteral("05"),
            QStringLiteral("中文期"),
            QStringLiteral("x y"),
            QStringLiteral("🎲7"),
            QStringLiteral("Ä"),
            QStringLiteral("ä"),
            QStringLiteral("0x10"),
        };
        if (chance(10))
            return QString(1000 + below(4000), QLatin1Char('9')) + QString::number(below(3));
        return kOdd.at(below(int(kOdd.size())));
    }

    QRandomGenerator random_;
};

} // namespace

class SoakTest : public WindowTestCase {
    Q_OBJECT

    DataEntryPage* page = nullptr;

    // Short plain texts are typed key by key; the others are pasted, as a user would.
    void enter(ui::ChoiceCombo* combo, const QString& text) {
        QLineEdit* edit = combo->lineEdit();
        edit->selectAll();
        edit->del();
        bool plain = text.size() <= 8;
        for (const QChar ch : text)
            plain = plain && ch.isLetterOrNumber() && ch.unicode() < 128;
        if (plain)
            QTest::keyClicks(edit, text);
        else
            edit->insert(text);
    }

    void click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); }

private slots:
    void randomActions() {
        bool ok = false;
        quint32 seed = qEnvironmentVariable("DRAVIK_SOAK_SEED").toUInt(&ok);
        if (!ok)
            seed = QRandomGenerator::global()->generate();
        int actions = qEnvironmentVariableIntValue("DRAVIK_SOAK_ACTIONS", &ok);
        if (!ok)
            actions = 5000;
        qInfo("seed %u (DRAVIK_SOAK_SEED=%u repeats this run), %d actions", seed, seed, actions);
        Texts texts(seed);

        // 130 lines, so that the page works on a window; one without a full stop and two of one period.
        Model model;
        for (int i = 0; i < 130; ++i)
            model.file.append(QStringLiteral("2%1.%2").arg(i, 4, 10, QLatin1Char('0')).arg(i % 37));
        model.file[40] = QStringLiteral("123");
        model.file[120] = QStringLiteral("24005.17");
        model.file[125] = QStringLiteral("24005.09");
        const QString recordPath = home->dataFolder() + kArchive + QStringLiteral(".dat");
        writeFile(home->dataFolder() + kArchive + QStringLiteral(".ini"),
                  settingsBytes(kArchive, QStringLiteral("36 6 6 0"), 1, 0, 0));
        window = startOnArchive(*home, kArchive, model.bytes());
        page = entryPage(*window);
        tabBar(*window)->setCurrentIndex(MainWindow::kSettingsTab);
        QCOMPARE(settingsTab(*window)->archiveName(), kArchive);

        QTableWidget* grid = control<QTableWidget>(page, "StringGrid2");
        QString last;
        for (int step = 0; step < actions; ++step) {
            script->clear();
            QStringList boxes; // the boxes the action should show
            QString action;
            if (!model.onPage) {
                action = QStringLiteral("open");
                click(control<ui::ImageButton>(settingsTab(*window), "Button_in"));
                model.onPage = true;
                model.changed = false;
                model.period.clear();
                model.number.clear();
                model.load();
            } else {
                const int pick = texts.below(100);
                if (pick < 40) {
                    const QString p = texts.period();
                    const QString n = texts.number();
                    const bool yes = texts.chance(50);
                    action =
                        QStringLiteral("add '%1' '%2' (%3)").arg(p.left(20), n.left(20), yes ? "Yes" : "No");
                    enter(control<ui::ChoiceCombo>(page, "Edit_qs"), p);
                    enter(control<ui::ChoiceCombo>(page, "Edit_hm"), n);
                    model.period = p;
                    model.number = n;
                    const QString line = p + QLatin1Char('.') + n;
                    if (p.isEmpty() || n.isEmpty()) {
                        boxes = {kEmptyFields};
                    } else if (const std::optional<int> at = model.findPeriod(p)) {
                        boxes = {kQuestion};
                        script->queueAnswer(yes ? dialogs::kYes : dialogs::kNo);
                        if (yes) {
                            model.list[*at] = line;
                            model.sort();
                            model.save();
                            model.load();
                            model.changed = true;
                        }
                    } else {
                        if (std::none_of(model.list.cbegin(), model.list.cend(),
                                         [&line](const QString& l) { return sameRecord(l, line); }))
                            model.list.append(line);
                        model.sort();
                        model.save();
                        model.load();
                        model.changed = true;
                    }
                    click(control<ui::ImageButton>(page, "Button_add"));
                } else if (pick < 60) {
                    // Mostly a period the table shows, so that deletes find something.
                    const QString p =
                        !model.shown.isEmpty() && texts.chance(60)
                            ? Model::periodOf(model.shown.at(texts.below(int(model.shown.size()))))
                            : texts.period();
                    action = QStringLiteral("delete '%1'").arg(p.left(20));
                    enter(control<ui::ChoiceCombo>(page, "Edit_qs"), p);
                    model.period = p;
                    if (p.isEmpty() || model.shown.isEmpty()) {
                        boxes = {kNothingToDelete};
                    } else {
                        const qsizetype before = model.list.size();
                        model.list.removeIf([&p](const QString& l) { return Model::periodOf(l) == p; });
                        if (model.list.size() == before) {
                            boxes = {kNoSuchRecord};
                        } else {
                            model.period.clear();
                            model.number.clear();
                            model.save();
                            model.load();
                            model.changed = true;
                        }
                    }
                    click(control<ui::ImageButton>(page, "Button_del"));
                } else if (pick < 90) {
                    if (model.shown.isEmpty()) {
                        action = QStringLiteral("click the empty table");
                        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(100, 100));
                    } else {
                        const int row = texts.below(int(model.shown.size()));
                        action = QStringLiteral("click row %1").arg(row);
                        QTableWidgetItem* item = grid->item(row, 1);
                        // A click on the part of the row in view: the last row may lie partly below
                        // the window's edge, where a press grabs the edge to resize the window. A table
                        // just filled scrolls once it is laid out.
                        grid->scrollToItem(item);
                        QRect inView = grid->visualItemRect(item).intersected(grid->viewport()->rect());
                        if (inView.isEmpty()) {
                            QCoreApplication::processEvents();
                            grid->scrollToItem(item);
                            inView = grid->visualItemRect(item).intersected(grid->viewport()->rect());
                        }
                        QVERIFY2(!inView.isEmpty(), qPrintable(action));
                        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, inView.center());
                        model.period = Model::periodOf(model.shown.at(row));
                        model.number = Model::numberOf(model.shown.at(row));
                    }
                } else {
                    action = QStringLiteral("back");
                    if (!model.shown.isEmpty()) {
                        model.list.clear();
                        for (const QString& line : std::as_const(model.shown))
                            model.list.append(Model::periodOf(line) + QLatin1Char('.') +
                                              Model::numberOf(line));
                        model.sort();
                        model.save();
                    }
                    // The analysis of the records as they now are, over the latest 30.
                    if (model.changed && model.file.size() < 30)
                        boxes = {QStringLiteral("Dravik[%1]数据量不足，无法分析").arg(kArchive)};
                    click(control<ui::ImageButton>(page, "Button_back"));
                    model.onPage = false;
                }
            }

            const QString where =
                QStringLiteral("seed %1, action %2: %3 (after %4)").arg(seed).arg(step).arg(action, last);
            last = action;
            QVERIFY2(readFile(recordPath) == model.bytes(), qPrintable(where));
            QVERIFY2(script->texts() == boxes, qPrintable(where + " shown: " + script->texts().join(',')));
            QVERIFY2(script->pendingAnswers() == 0, qPrintable(where));
            QVERIFY2((shownPage(*window) == page) == model.onPage, qPrintable(where));
            if (!model.onPage)
                continue;
            QVERIFY2(gridRows(*grid) == model.rows(), qPrintable(where));
            QVERIFY2(comboItems(*control<ui::ChoiceCombo>(page, "Edit_qs")) == model.periodChoices(),
                     qPrintable(where));
            QVERIFY2(control<ui::ChoiceCombo>(page, "Edit_qs")->currentText() == model.period,
                     qPrintable(where));
            QVERIFY2(control<ui::ChoiceCombo>(page, "Edit_hm")->currentText() == model.number,
                     qPrintable(where));
        }
    }
};

DRAVIK_GUI_TEST_MAIN(SoakTest)
#include "tst_soak.moc"
