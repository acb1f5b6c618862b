#pragma once

#include "analysis/division_settings.h"

#include <QStringList>

namespace dravik {

enum class DisplayMode { Sequential, Interval };

// Group texts, one per table row, each the group's labels joined by ".". Both expect settings that
// isUsableDivision accepts and the X labels built for them.

// Runs of B consecutive labels; the C labels left over form one extra, shorter row.
QStringList sequentialGroups(const QStringList& labels, const DivisionSettings& s);

// Row r holds every A-th label from r; the C labels left over after A·B go one each to the first C rows.
QStringList intervalGroups(const QStringList& labels, const DivisionSettings& s);

QStringList groupLabels(const QStringList& labels, const DivisionSettings& s, DisplayMode mode);

} // namespace dravik
