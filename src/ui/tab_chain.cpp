#include "ui/tab_chain.h"

#include <QWidget>

namespace dravik::ui {

void setTabChain(const QList<QWidget*>& chain) {
    for (int i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain.at(i - 1), chain.at(i));
}

} // namespace dravik::ui
