#include "pages/trend_layout.h"

#include <algorithm>

namespace dravik {

namespace {

constexpr int kChartTop = kTrendControlTop + kTrendControlHeight + 6;
constexpr int kGap = 4;
constexpr int kBottom = 8;
// Room for two lines of the mark check, its text centred in it, as the tab was designed; more lines
// take more.
constexpr int kTextsLeast = 44;

// The chart and the footers in `room` pixels from the chart's top: the footers whole when the chart
// keeps its least beside them, else down to one row; the chart gets the rest.
void share(int room, const TrendHeights& heights, TrendBands& bands) {
    bands.footerHeight = std::clamp(room - heights.chartLeast,
                                    std::min(heights.footerLeast, heights.footerFull), heights.footerFull);
    bands.chartTop = kChartTop;
    bands.chartHeight = std::max(0, room - bands.footerHeight);
    bands.footerTop = bands.chartTop + bands.chartHeight;
}

} // namespace

TrendBands trendBands(const TrendHeights& heights) {
    TrendBands bands;
    bands.textsHeight = std::max(kTextsLeast, heights.texts);
    bands.buttonsTop = heights.tab - kBottom - kTrendControlHeight;
    bands.textsTop = bands.buttonsTop - kGap - bands.textsHeight;
    share(bands.textsTop - kGap - kChartTop, heights, bands);
    if (bands.chartHeight >= heights.chartLeast)
        return bands;
    if (heights.exportFitsBesideSpan) {
        // Short: the buttons' row goes up beside the span list, the status (if any) under the texts,
        // which take no more than their lines.
        bands.compact = true;
        bands.buttonsTop = kTrendControlTop;
        bands.textsHeight = heights.texts + heights.textsMoved;
        bands.statusTop = heights.tab - kBottom - heights.status;
        bands.textsTop = bands.statusTop - bands.textsHeight;
        share(bands.textsTop - kGap - kChartTop, heights, bands);
    }
    if (bands.chartHeight >= heights.chartLeast)
        return bands;

    // Shorter still: the texts scroll, keeping room for the mark check.
    const int textsBottom = bands.textsTop + bands.textsHeight;
    bands.textsHeight = std::max(std::min(heights.textsLeast, bands.textsHeight),
                                 bands.textsHeight - (heights.chartLeast - bands.chartHeight));
    bands.textsTop = textsBottom - bands.textsHeight;
    share(bands.textsTop - kGap - kChartTop, heights, bands);
    return bands;
}

} // namespace dravik
