// The yardstick for the start-up benchmark: the least a Qt Widgets program does to show one window
// with a table, at the size of Dravik's window.
#include <QApplication>
#include <QHeaderView>
#include <QTableWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTableWidget table(6, 4);
    table.setWindowTitle(QStringLiteral("Baseline"));
    table.setHorizontalHeaderLabels(
        {QStringLiteral("组"), QStringLiteral("出现"), QStringLiteral("遗漏"), QStringLiteral("荐")});
    for (int row = 0; row < table.rowCount(); ++row)
        for (int column = 0; column < table.columnCount(); ++column)
            table.setItem(row, column, new QTableWidgetItem(QString::number(row * 10 + column)));
    table.resize(442, 766);
    table.show();
    return app.exec();
}
