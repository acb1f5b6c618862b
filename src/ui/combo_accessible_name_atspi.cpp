#include "ui/combo_accessible_name.h"

namespace dravik::ui {

QString comboAccessibleName(const QString& caption, const QString& value) {
    // An empty combo still has something to say.
    return value.isEmpty() ? caption : value;
}

} // namespace dravik::ui
