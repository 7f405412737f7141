#pragma once
// Inline SVG charts for the report pages: a line chart of one day (00:00 to
// 24:00) and a harmonic spectrum bar chart. Texts are CP1251: a chart's title
// (the image's accessible name) is plain text and is escaped here; every other
// text is SVG text content, escaped by the caller (EscapeHtml), which may hold
// character references (&#948;) and <tspan> elements. Numbers in the markup
// always carry a decimal point, whatever the process locale, and tick labels a
// decimal comma, as the pages show numbers.
// Each chart has a fixed viewBox of kChartWidth x kChartHeight user units and
// width 100 %, so it scales to the page; series and bars are told apart by
// marker shape, dash pattern or shade as well as by colour, for grey prints.
#include <optional>
#include <string>
#include <vector>

#include "base/text.h"

namespace pq {

const int kMinutesPerDay = 1440;
const double kSecondsPerDay = 86400;
const double kChartWidth = 720;
const double kChartHeight = 300;

// The samples of one minute of the day: smallest, largest and how many.
struct MinuteRange {
    int minute = 0;  // 0..1439
    double minimum = 0;
    double maximum = 0;
    int count = 0;
};

// Reduces a day's samples to one MinuteRange per minute, in constant memory.
class MinuteEnvelope {
public:
    MinuteEnvelope();
    // A sample at `secondsOfDay` (0 <= s < 86400; minute floor(s / 60)).
    // Samples outside the day and values that are not finite are not taken.
    void Add(double secondsOfDay, double value);
    // Minute m (0..1439); count 0 for a minute without samples.
    const MinuteRange& Minute(int m) const { return minutes_[m]; }
    // The minutes with samples, in order.
    std::vector<MinuteRange> Filled() const;
    long long Refused() const { return refused_; }

private:
    std::vector<MinuteRange> minutes_;
    long long refused_ = 0;
};

struct TimedValue {
    double seconds;  // seconds of the day
    double value;
};

// One curve of a day chart. A series with an envelope is drawn as the band
// from each minute's smallest to its largest value; otherwise its points are
// drawn as a line, or, when the step is shorter than a minute, as their
// per-minute envelope. The line or band breaks where data are missing: at a
// value that is not finite, between points more than two steps apart, and at
// a minute without samples.
struct DaySeries {
    std::string name;                   // legend text
    std::vector<TimedValue> points;     // in time order, 0..86400 s
    double stepSeconds = 60;            // the expected distance of `points` (60 when not > 0)
    std::vector<MinuteRange> envelope;  // e.g. MinuteEnvelope::Filled()
};

enum class LimitKind { Normal, Maximum };

// A horizontal line at `value`, labelled at its right end; the normal and
// the maximum limits are dashed differently.
struct LimitLine {
    double value = 0;
    std::string label;
    LimitKind kind = LimitKind::Normal;
};

// A stretch of the day from `fromSeconds` to `toSeconds`; one that ends
// before it begins runs over midnight (the evening and the early morning).
struct TimeRange {
    double fromSeconds = 0;
    double toSeconds = 0;
};

struct DayChart {
    std::string title;  // the image's title (its accessible name)
    std::string yLabel;
    std::string xLabel;
    std::vector<DaySeries> series;
    std::vector<LimitLine> limits;
    std::vector<TimeRange> shaded;  // drawn light grey under the data
    std::string shadedLabel;        // legend text of the shaded stretches
    bool includeZero = false;       // the value axis takes in 0 as well
    std::string noDataText;         // written across the plot when no series has a value to draw
};

// A value axis from `low` to `high` with ticks every `step` (1, 2 or 5 times
// a power of ten); tick labels show `decimals` digits after the comma.
struct ValueAxis {
    double low = 0;
    double high = 1;
    double step = 1;
    int decimals = 0;
};

// The axis over the values `lo`..`hi` with a margin of a few per cent on
// either side (none below `lo` when `fixedLow`, and none that takes a range
// of one sign across zero), widened to whole steps.
ValueAxis NiceAxis(double lo, double hi, bool fixedLow = false);

// A tick value as the pages show numbers: "-2,5", "0", "10".
std::string TickText(double value, int decimals);

// The plot area of a chart in user units and the mapping into it: x from
// xLow..xHigh onto left..right, y along the axis onto bottom..top.
struct ChartFrame {
    double left = 0, top = 0, right = 0, bottom = 0;
    double xLow = 0, xHigh = 1;
    ValueAxis y;
    double X(double x) const { return left + (x - xLow) * (right - left) / (xHigh - xLow); }
    double Y(double v) const { return bottom - (v - y.low) * (bottom - top) / (y.high - y.low); }
};

// The frame DayChartSvg draws in: x in seconds of the day.
ChartFrame DayChartFrame(const DayChart& chart);

// The chart as one <svg> element. Envelope bands have whole-unit y
// coordinates, lines one decimal.
std::string DayChartSvg(const DayChart& chart);

// One harmonic order of a spectrum chart; a missing value draws no bar and
// a missing limit no mark.
struct HarmonicBars {
    int order = 0;
    std::optional<double> p95;
    std::optional<double> maximum;
    std::optional<double> limit;
};

struct SpectrumChart {
    std::string title;
    std::string yLabel;
    std::string xLabel;
    std::string p95Label;      // legend texts of the two bars and the mark
    std::string maximumLabel;
    std::string limitLabel;
    std::vector<HarmonicBars> orders;  // each order once, any order
    std::string noDataText;            // written across the plot when no order has a bar
};

// The frame SpectrumChartSvg draws in: x in orders, order n centred at X(n).
ChartFrame SpectrumChartFrame(const SpectrumChart& chart);

// The chart as one <svg> element: per order a dark 95 % bar on the left, a
// light maximum bar on the right, and a dark mark across both at the limit.
std::string SpectrumChartSvg(const SpectrumChart& chart);

}  // namespace pq
