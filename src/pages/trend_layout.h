#pragma once

namespace dravik {

// How the trend tab shares its height, top to bottom: the row of the span list, the chart, the
// footers under it, the texts under them (the mark check) and the row of the export buttons, with
// the export status beside the buttons. All in the tab's pixels.
//
// Where the tab has room, the texts and both rows keep their heights, the footers show their six rows
// and the chart takes the rest. Where it is short, the chart keeps at least kTrendLeastRows rows in
// view: first the footers give up height (they scroll, down to one row in view), then the export
// buttons move up into the span list's row (those that fit beside it; the others go under the texts)
// and the status under the texts, then the texts give up height and scroll, down to the mark check
// whole. The mark check is never cut; below all of that only the chart gives up more.
inline constexpr int kTrendLeastRows = 10;

struct TrendHeights {
    int tab = 0;
    int texts = 0;       // the texts wrapped to the tab's width
    int textsLeast = 0;  // the mark check alone, which is never cut
    int textsMoved = 0;  // what the texts take more when the buttons that do not fit beside the span
                         // list's row go under them
    int status = 0;      // the export status under the texts, 0 while it says nothing
    int chartLeast = 0;  // the chart with kTrendLeastRows rows in view
    int footerFull = 0;  // the footers with all their rows in view
    int footerLeast = 0; // with one
    bool exportFitsBesideSpan = false;
};

struct TrendBands {
    bool compact = false; // the export buttons in the span list's row, the status under the texts
    int chartTop = 0, chartHeight = 0;
    int footerTop = 0, footerHeight = 0;
    int textsTop = 0, textsHeight = 0;
    int statusTop = 0; // compact only; otherwise the status is in the buttons' row
    int buttonsTop = 0;
};

// The row of the span list and the export buttons.
inline constexpr int kTrendControlTop = 8;
inline constexpr int kTrendControlHeight = 30;

TrendBands trendBands(const TrendHeights& heights);

} // namespace dravik
