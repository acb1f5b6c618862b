#include "ui/combo_accessible_name.h"

namespace dravik::ui {

QString comboAccessibleName(const QString& caption, const QString& value) {
    return caption.isEmpty() ? value : caption;
}

} // namespace dravik::ui
