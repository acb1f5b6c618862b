#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <vector>

namespace dravik {

// Are the window's draws anything but random? How often each of the X labels came up, against the
// even spread that drawing at random would give.
struct Uniformity {
    int draws = 0;              // W', the window's draws
    int numbersPerDraw = 1;     // K
    std::vector<qint64> counts; // O_ℓ per label: the window's draws whose numbers include label ℓ
};

// Over the latest `window` draws of the archive's record lines (kWholeArchive: all), each read as the
// analysis reads it (k numbers a draw), against the labels in order. A number that is no label counts
// nowhere.
Uniformity checkUniformity(const QStringList& archiveLines, const QStringList& labels, int window, int k = 1);

// The chance of a χ² at least this large for df degrees of freedom, by the Wilson–Hilferty
// approximation: z = ((χ²/df)^(1/3) − (1 − 2/(9·df))) / √(2/(9·df)), p = ½·erfc(z/√2).
double chiSquareTail(double chiSquare, int degreesOfFreedom);

// The check as the trend tab shows it: "均匀性检验：近W'期χ²=V（自由度df），p=P" and the verdict on a
// second line. χ² = Σ (O_ℓ − E)² / E · (X − 1)/(X − K) with n = Σ O_ℓ and E = n / X: the factor is 1
// for K = 1 and corrects for the K numbers of a draw being distinct; df = X − 1. Or the one line saying the
// draws are too few (E < 5). Empty with fewer than two labels, where there is no spread to test.
QString uniformityText(const Uniformity& uniformity);

} // namespace dravik
