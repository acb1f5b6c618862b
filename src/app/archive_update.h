#pragma once

#include "analysis/analysis_run.h"

#include <QString>

namespace dravik {

// The update at start-up of the opened archive from the page where its history lives: when the
// archive (not the built-in one) has a remembered address with 启动时自动更新 on, the page is read
// within `timeLimitMs`, its lines are parsed with the remembered 号码取 choice (the one that fits the
// page when that is no longer offered) against the numbers of `settings`, and only the periods the
// archive does not hold yet are added: a record already there is never replaced, the user's own
// corrections stay. Returns the text for the message box when the update failed,
// "更新失败：NAME：REASON"; empty when it succeeded or had nothing to do. Settings that are no integers
// make no update: the analysis that follows says what is wrong with them.
QString updateArchiveFromSource(const AnalysisInputs& settings, int timeLimitMs);

} // namespace dravik
