// The import dialog at the fractional device pixel ratios of Windows' 125 %, 150 % and 175 % (the test
// runs once at each, with QT_SCALE_FACTOR): every control lies whole inside the dialog, overlaps no
// neighbour, and has its edges on whole device pixels, where no rounding of the style's drawing can
// cut off a border (as the Windows style did to the 号码取 list and 取消 at 125 %).
#include "gui_harness.h"
#include "pages/data_entry_page.h"
#include "pages/import_dialog.h"
#include "storage/data_folder.h"
#include "ui/image_button.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLayout>
#include <QPushButton>
#include <cmath>

using namespace dravik;
using namespace dravik::test;

namespace {

QString describe(const QWidget* widget) {
    const QRect r = widget->geometry();
    return QStringLiteral("%1 %2 at %3,%4 %5x%6")
        .arg(QString::fromLatin1(widget->metaObject()->className()), widget->objectName())
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height());
}

bool onDevicePixel(int coordinate, qreal ratio) {
    const qreal pixels = coordinate * ratio;
    return std::abs(pixels - std::round(pixels)) < 1e-6;
}

} // namespace

class ScalingTest : public WindowTestCase {
    Q_OBJECT

private slots:
    void importDialogWhole_data() {
        QTest::addColumn<QSize>("size"); // empty: as it opens
        QTest::addColumn<bool>("builtIn");
        QTest::addColumn<QString>("clipboard");
        const QString history =
            QStringLiteral("期号\t开奖日期\t红球\t蓝球\n"
                           "2024004\t2024-01-09\t04 10 13 22 28 32\t03\n"
                           "2024003\t2024-01-07\t02 09 15 21 27 33\t08\n"
                           "一行无法识别的很长很长很长很长很长很长很长很长很长很长很长的文字\n"
                           "又一行无法识别的很长很长很长很长很长很长很长很长很长很长的文字\n");
        QTest::newRow("as it opens") << QSize() << false << QString();
        QTest::newRow("built-in archive, a paste") << QSize() << true << history;
        QTest::newRow("odd size") << QSize(421, 563) << false << history;
        QTest::newRow("another odd size") << QSize(437, 611) << true << history;
        QTest::newRow("wide and short") << QSize(509, 430) << true << history;
    }

    void importDialogWhole() {
        QFETCH(QSize, size);
        QFETCH(bool, builtIn);
        QFETCH(QString, clipboard);
        const QString archive = builtIn ? kBuiltInArchive : QStringLiteral("测试");
        if (!builtIn)
            writeFile(home->dataFolder() + archive + QStringLiteral(".ini"),
                      settingsBytes(archive, QStringLiteral("36 6 6 0"), 1, 0, 0));
        window = startOnArchive(*home, archive, recordFileBytes({"2024001.16"}));
        const qreal ratio = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble();
        QVERIFY2(ratio > 1 && std::abs(ratio - std::round(ratio)) > 0.1,
                 "runs at a fractional QT_SCALE_FACTOR");
        QCOMPARE(window->devicePixelRatio(), ratio);
        entryPage(*window)->openForArchive();
        QGuiApplication::clipboard()->setText(clipboard);
        QTest::mouseClick(control<ui::ImageButton>(entryPage(*window), "Button_import"), Qt::LeftButton);
        auto* dialog = window->findChild<ImportDialog*>();
        QVERIFY(dialog);
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        if (size.isValid())
            dialog->resize(size);
        dialog->layout()->activate();
        QCoreApplication::processEvents();
        QCOMPARE(dialog->devicePixelRatio(), ratio);

        QList<QWidget*> controls;
        for (QWidget* child : dialog->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (child->isVisible())
                controls.append(child);
        }
        QVERIFY(controls.size() >= 9);
        QCOMPARE(control<QWidget>(dialog, "Label_builtIn")->isVisible(), builtIn);
        for (const QWidget* widget : std::as_const(controls)) {
            const QRect r = widget->geometry();
            QVERIFY2(dialog->contentsRect().contains(r), qPrintable(describe(widget)));
            for (const int edge : {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()})
                QVERIFY2(onDevicePixel(edge, ratio), qPrintable(describe(widget)));
            // Never cut down below what it needs to show whole.
            const QSize least =
                qobject_cast<const QPushButton*>(widget) || qobject_cast<const QComboBox*>(widget)
                    ? widget->sizeHint()
                    : widget->minimumSizeHint();
            if (least.isValid())
                QVERIFY2(r.width() >= least.width() && r.height() >= least.height(),
                         qPrintable(describe(widget)));
        }
        for (qsizetype i = 0; i < controls.size(); ++i) {
            for (qsizetype j = i + 1; j < controls.size(); ++j)
                QVERIFY2(!controls[i]->geometry().intersects(controls[j]->geometry()),
                         qPrintable(describe(controls[i]) + QStringLiteral(" / ") + describe(controls[j])));
        }
        dialog->reject();
    }
};

DRAVIK_GUI_TEST_MAIN(ScalingTest)
#include "tst_scaling.moc"
