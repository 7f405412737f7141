#include "html/svg_chart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>

#include "html/escape.h"

namespace pq {

namespace {

// Layout of both charts in user units: legend rows on top, the plot, the x
// tick labels and the x axis label below it, the y tick labels and the
// rotated y axis label to its left.
const double kPlotLeft = 56;
const double kPlotRight = 702;
const double kPlotBottom = 262;
const double kLegendRowHeight = 15;
const double kFontSize = 11;
const double kCharWidth = 0.58 * kFontSize;  // a mean Arial glyph, for layout

const double kMarkerInterval = 7200;  // seconds between a series' markers

// Numbers in the markup are tenths of a user unit written with a decimal
// point and without a leading zero: 12, 12.5, .5, -.5.
std::string TenthsText(long long t)
{
    std::string s;
    if (t < 0) {
        s = "-";
        t = -t;
    }
    const long long whole = t / 10;
    const int tenth = static_cast<int>(t % 10);
    if (whole != 0 || tenth == 0)
        s += std::to_string(whole);
    if (tenth != 0) {
        s += '.';
        s += static_cast<char>('0' + tenth);
    }
    return s;
}

long long Tenths(double v)
{
    return std::llround(v * 10);
}

std::string Num(double v)
{
    return TenthsText(Tenths(v));
}

// "x y" with the blank left out before a minus sign.
std::string Pair(double x, double y)
{
    const std::string ys = Num(y);
    return Num(x) + (ys[0] == '-' ? "" : " ") + ys;
}

// Path data: every subpath starts with an absolute M; lines are relative,
// the "l" written once for a run of them.
class PathData {
public:
    explicit PathData(bool wholeY = false) : wholeY_(wholeY) {}

    void MoveTo(double x, double y)
    {
        Command('M');
        x_ = startX_ = Tenths(x);
        y_ = startY_ = RoundY(y);
        Append(x_);
        Append(y_);
    }
    void LineTo(double x, double y)
    {
        const long long nx = Tenths(x), ny = RoundY(y);
        Command('l');
        Append(nx - x_);
        Append(ny - y_);
        x_ = nx;
        y_ = ny;
    }
    void Close()
    {
        Command('z');
        x_ = startX_;
        y_ = startY_;
    }
    // A horizontal run of `w` from the current point.
    void Horizontal(double w)
    {
        Command('h');
        Append(Tenths(w));
        x_ += Tenths(w);
    }
    const std::string& Text() const { return d_; }
    bool Empty() const { return d_.empty(); }

private:
    long long RoundY(double y) const { return wholeY_ ? std::llround(y) * 10 : Tenths(y); }
    void Command(char c)
    {
        if (c != command_ || c == 'M' || c == 'z')
            d_ += c;
        command_ = c;
    }
    void Append(long long t)
    {
        const std::string s = TenthsText(t);
        // A blank between two numbers, unless the second starts with its sign.
        const bool afterNumber = !d_.empty() && ((d_.back() >= '0' && d_.back() <= '9') || d_.back() == '.');
        if (afterNumber && s[0] != '-')
            d_ += ' ';
        d_ += s;
    }

    bool wholeY_;
    std::string d_;
    char command_ = 0;
    long long x_ = 0, y_ = 0, startX_ = 0, startY_ = 0;
};

std::string Attr(const char* name, const std::string& value)
{
    return std::string(" ") + name + "=\"" + value + "\"";
}

std::string Attr(const char* name, double value)
{
    return Attr(name, Num(value));
}

std::string Text(double x, double y, const char* anchor, const std::string& text, const std::string& extra = "")
{
    std::string s = "<text" + Attr("x", x) + Attr("y", y);
    if (anchor)
        s += Attr("text-anchor", anchor);
    return s + extra + ">" + text + "</text>\n";
}

// The characters a text's markup shows: tags take no room, a character
// reference is one character.
size_t VisibleLength(const std::string& markup)
{
    size_t n = 0;
    for (size_t i = 0; i < markup.size(); ++i) {
        if (markup[i] == '<') {
            const size_t end = markup.find('>', i);
            if (end == std::string::npos)
                break;
            i = end;
            continue;
        }
        if (markup[i] == '&') {
            const size_t end = markup.find(';', i);
            if (end != std::string::npos)
                i = end;
        }
        ++n;
    }
    return n;
}

double TextWidth(const std::string& text, double fontSize = kFontSize)
{
    return static_cast<double>(VisibleLength(text)) * kCharWidth * fontSize / kFontSize;
}

std::string SvgOpen(const std::string& title)
{
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " + Num(kChartWidth) + " " + Num(kChartHeight) +
           "\" width=\"100%\" role=\"img\" font-family=\"Arial, 'Liberation Sans', 'DejaVu Sans', sans-serif\"" +
           Attr("font-size", kFontSize) + " style=\"display:block\">\n<title>" + EscapeHtml(title) + "</title>\n";
}

// Series styles by index: colour (the phase colours yellow, green and red,
// darkened to print as three different greys), dash pattern of a line and
// marker shape.
enum class Shape { Circle, Square, Triangle, Diamond };
struct SeriesStyle {
    const char* colour;
    const char* dash;
    Shape shape;
};
const SeriesStyle kSeriesStyles[] = {
    {"#b07d00", "", Shape::Circle},
    {"#1e7b34", "6 3.5", Shape::Square},
    {"#a0141e", "0 2.6", Shape::Triangle},
    {"#1f4e9c", "8 3.5 0 3.5", Shape::Diamond},
};

const SeriesStyle& StyleOf(size_t index)
{
    return kSeriesStyles[index % (sizeof kSeriesStyles / sizeof kSeriesStyles[0])];
}

std::string MarkerPath(Shape shape, double x, double y)
{
    switch (shape) {
    case Shape::Circle:
        return "M" + Pair(x - 3.3, y) + "a3.3 3.3 0 1 0 6.6 0 3.3 3.3 0 1 0-6.6 0z";
    case Shape::Square:
        return "M" + Pair(x - 3, y - 3) + "h6v6h-6z";
    case Shape::Triangle:
        return "M" + Pair(x, y - 4.3) + "l3.8 6.6h-7.6z";
    case Shape::Diamond:
        return "M" + Pair(x, y - 4.4) + "l4.2 4.4-4.2 4.4-4.2-4.4z";
    }
    return "";
}

std::string MarkerElement(const SeriesStyle& style, const std::string& d)
{
    return "<path class=\"marker\"" + Attr("d", d) + " fill=\"#fff\"" + Attr("stroke", style.colour) +
           " stroke-width=\"1.1\"/>\n";
}

const char* const kLimitColour[] = {"#333", "#000"};
const char* const kLimitDash[] = {"6 4", "14 4 3 4"};
const char* const kLimitWidth[] = {"1", "1.4"};

// One legend entry: a swatch drawn at (x, y), its centre line, and a text.
struct LegendEntry {
    std::function<std::string(double x, double y)> swatch;
    std::string text;
};
const double kSwatchWidth = 24;

double EntryWidth(const LegendEntry& e)
{
    return kSwatchWidth + 5 + TextWidth(e.text) + 16;
}

// Legend entries laid out left to right from the plot's left edge, wrapped
// at its right edge; the number of rows.
int LegendRows(const std::vector<LegendEntry>& entries, std::string* markup = nullptr)
{
    if (entries.empty())
        return 0;
    int rows = 1;
    double x = kPlotLeft;
    for (const LegendEntry& e : entries) {
        const double w = EntryWidth(e);
        if (x > kPlotLeft && x + w - 16 > kPlotRight) {
            ++rows;
            x = kPlotLeft;
        }
        const double y = 10 + kLegendRowHeight * (rows - 1);
        if (markup)
            *markup += e.swatch(x, y) + Text(x + kSwatchWidth + 5, y + 4, nullptr, e.text);
        x += w;
    }
    return rows;
}

// The plot's top edge below the legend, with room for a limit label above
// a line at the top of the range.
double PlotTop(int legendRows)
{
    return legendRows == 0 ? 25 : 16 + kLegendRowHeight * legendRows;
}

// The value axis: horizontal grid lines, tick marks, labels, the rotated
// axis label, and a darker line at zero inside the range.
std::string ValueAxisMarkup(const ChartFrame& f, const std::string& label)
{
    PathData grid, ticks;
    std::string labels;
    const long long kLow = std::llround(f.y.low / f.y.step), kHigh = std::llround(f.y.high / f.y.step);
    for (long long k = kLow; k <= kHigh; ++k) {
        const double v = static_cast<double>(k) * f.y.step;
        const double y = f.Y(v);
        if (k != kLow && k != kHigh) {
            grid.MoveTo(f.left, y);
            grid.Horizontal(f.right - f.left);
        }
        ticks.MoveTo(f.left - 4, y);
        ticks.Horizontal(4);
        labels += Text(f.left - 6, y + 4, "end", TickText(v, f.y.decimals));
    }
    std::string s;
    if (!grid.Empty())
        s += "<path class=\"grid\"" + Attr("d", grid.Text()) + " stroke=\"#d4d4d4\" stroke-width=\".6\"/>\n";
    if (f.y.low < 0 && f.y.high > 0) {
        PathData zero;
        zero.MoveTo(f.left, f.Y(0));
        zero.Horizontal(f.right - f.left);
        s += "<path class=\"zero\"" + Attr("d", zero.Text()) + " stroke=\"#8c8c8c\" stroke-width=\".8\"/>\n";
    }
    s += "<path" + Attr("d", ticks.Text()) + " stroke=\"#000\" stroke-width=\".8\"/>\n" + labels;
    if (!label.empty())
        s += Text(-(f.top + f.bottom) / 2, 13, "middle", label, " transform=\"rotate(-90)\"");
    return s;
}

std::string FrameMarkup(const ChartFrame& f)
{
    return "<rect" + Attr("x", f.left) + Attr("y", f.top) + Attr("width", f.right - f.left) +
           Attr("height", f.bottom - f.top) + " fill=\"none\" stroke=\"#000\" stroke-width=\".8\"/>\n";
}

std::string XLabelMarkup(const ChartFrame& f, const std::string& label)
{
    return label.empty() ? "" : Text((f.left + f.right) / 2, kChartHeight - 6, "middle", label);
}

// The note of a chart without data, in the middle of its plot.
std::string NoDataMarkup(const ChartFrame& f, const std::string& text)
{
    if (text.empty())
        return "";
    return Text((f.left + f.right) / 2, (f.top + f.bottom) / 2 + 5, "middle", text,
                " class=\"no-data\" font-size=\"15\" fill=\"#444\" stroke=\"#fff\" stroke-width=\"4\" "
                "paint-order=\"stroke\" stroke-linejoin=\"round\"");
}

// ---- the day chart

// A value a chart can place: finite and of a size no measured quantity comes
// near, so that the axis arithmetic cannot overflow. Others are left out, as
// missing values are.
bool Finite(double v)
{
    return std::isfinite(v) && std::fabs(v) <= 1e12;
}

// The expected distance of a series' points; 60 s when not told.
double StepOf(const DaySeries& s)
{
    return s.stepSeconds > 0 ? s.stepSeconds : 60;
}

// Whether a series is drawn as a band rather than as a line.
bool AsBand(const DaySeries& s)
{
    return !s.envelope.empty() || (StepOf(s) < 60 && !s.points.empty());
}

// The minutes a series is drawn from when it is drawn as a band: its own
// envelope, or that of points closer than a minute; empty otherwise.
std::vector<MinuteRange> BandOf(const DaySeries& s)
{
    std::vector<MinuteRange> band;
    if (!s.envelope.empty()) {
        for (const MinuteRange& m : s.envelope)
            if (m.count > 0 && m.minute >= 0 && m.minute < kMinutesPerDay && Finite(m.minimum) && Finite(m.maximum))
                band.push_back(m);
        std::sort(band.begin(), band.end(),
                  [](const MinuteRange& a, const MinuteRange& b) { return a.minute < b.minute; });
    } else if (AsBand(s)) {
        MinuteEnvelope e;
        for (const TimedValue& p : s.points)
            e.Add(p.seconds, p.value);
        band = e.Filled();
    }
    return band;
}

bool InDay(const TimedValue& p)
{
    return p.seconds >= 0 && p.seconds <= kSecondsPerDay && Finite(p.value);
}

std::vector<LegendEntry> DayLegend(const DayChart& chart)
{
    std::vector<LegendEntry> entries;
    for (size_t i = 0; i < chart.series.size(); ++i) {
        const SeriesStyle& st = StyleOf(i);
        const bool band = AsBand(chart.series[i]);
        entries.push_back({[st, band](double x, double y) {
                               std::string s;
                               if (band)
                                   s = "<rect" + Attr("x", x) + Attr("y", y - 4) + Attr("width", kSwatchWidth) +
                                       " height=\"8\"" + Attr("fill", st.colour) + " fill-opacity=\".3\"" +
                                       Attr("stroke", st.colour) + " stroke-width=\".6\"/>\n";
                               else
                                   s = "<path" + Attr("d", "M" + Pair(x, y) + "h" + Num(kSwatchWidth)) +
                                       " fill=\"none\"" + Attr("stroke", st.colour) +
                                       " stroke-width=\"1.2\" stroke-linecap=\"round\"" +
                                       (*st.dash ? Attr("stroke-dasharray", st.dash) : "") + "/>\n";
                               return s + MarkerElement(st, MarkerPath(st.shape, x + kSwatchWidth / 2, y));
                           },
                           chart.series[i].name});
    }
    if (!chart.shaded.empty() && !chart.shadedLabel.empty())
        entries.push_back({[](double x, double y) {
                               return "<rect" + Attr("x", x) + Attr("y", y - 5) + Attr("width", kSwatchWidth) +
                                      " height=\"10\" fill=\"#e3e3e3\" stroke=\"#b4b4b4\" stroke-width=\".6\"/>\n";
                           },
                           chart.shadedLabel});
    return entries;
}

// The band of one series: per run of consecutive minutes a closed outline
// along the minutes' largest values and back along their smallest, each
// minute at its middle.
std::string BandPath(const ChartFrame& f, const std::vector<MinuteRange>& band)
{
    PathData d(true);
    auto x = [&](const MinuteRange& m) { return f.X((m.minute + 0.5) * 60); };
    for (size_t a = 0; a < band.size();) {
        size_t b = a + 1;
        while (b < band.size() && band[b].minute == band[b - 1].minute + 1)
            ++b;
        d.MoveTo(x(band[a]), f.Y(band[a].maximum));
        for (size_t i = a + 1; i < b; ++i)
            d.LineTo(x(band[i]), f.Y(band[i].maximum));
        for (size_t i = b; i-- > a;)
            d.LineTo(x(band[i]), f.Y(band[i].minimum));
        d.Close();
        a = b;
    }
    return d.Text();
}

// The line of one series, broken before a point more than two steps after
// the one before it (or not after it) and at a value that is not finite.
std::string LinePath(const ChartFrame& f, const DaySeries& s)
{
    PathData d;
    const double step = StepOf(s);
    const TimedValue* last = nullptr;  // the last point of the open subpath
    bool lone = false;                 // which is its only point
    auto end = [&] {
        if (last && lone)
            d.LineTo(f.X(last->seconds), f.Y(last->value));  // a dot, by the round line cap
        last = nullptr;
    };
    for (const TimedValue& p : s.points) {
        if (!InDay(p)) {
            end();
            continue;
        }
        if (last && p.seconds > last->seconds && p.seconds - last->seconds <= 2 * step) {
            d.LineTo(f.X(p.seconds), f.Y(p.value));
            lone = false;
        } else {
            end();
            d.MoveTo(f.X(p.seconds), f.Y(p.value));
            lone = true;
        }
        last = &p;
    }
    end();
    return d.Text();
}

// Markers every two hours, each series shifted so that markers of different
// series do not meet, on the series' value at that time (the middle of the
// minute's band), where there are data.
std::string Markers(const ChartFrame& f, const DaySeries& s, const std::vector<MinuteRange>& band, size_t index,
                    size_t count)
{
    const SeriesStyle& st = StyleOf(index);
    std::string d;
    const double offset = kMarkerInterval * static_cast<double>(index % 4 + 1) / static_cast<double>(std::min<size_t>(count, 4) + 1);
    for (double t = offset; t < kSecondsPerDay; t += kMarkerInterval) {
        if (!band.empty()) {
            const int minute = static_cast<int>(t / 60);
            const auto it = std::lower_bound(band.begin(), band.end(), minute,
                                             [](const MinuteRange& m, int v) { return m.minute < v; });
            if (it != band.end() && it->minute == minute)
                d += MarkerPath(st.shape, f.X((minute + 0.5) * 60), f.Y((it->minimum + it->maximum) / 2));
            continue;
        }
        const double step = StepOf(s);
        const TimedValue* best = nullptr;
        for (const TimedValue& p : s.points)
            if (InDay(p) && std::fabs(p.seconds - t) <= step &&
                (!best || std::fabs(p.seconds - t) < std::fabs(best->seconds - t)))
                best = &p;
        if (best)
            d += MarkerPath(st.shape, f.X(best->seconds), f.Y(best->value));
    }
    return d.empty() ? "" : MarkerElement(st, d);
}

}  // namespace

MinuteEnvelope::MinuteEnvelope() : minutes_(kMinutesPerDay)
{
    for (int m = 0; m < kMinutesPerDay; ++m)
        minutes_[m].minute = m;
}

void MinuteEnvelope::Add(double secondsOfDay, double value)
{
    if (!(secondsOfDay >= 0 && secondsOfDay < kSecondsPerDay) || !std::isfinite(value)) {
        ++refused_;
        return;
    }
    MinuteRange& m = minutes_[std::min(static_cast<int>(secondsOfDay / 60), kMinutesPerDay - 1)];
    if (m.count == 0)
        m.minimum = m.maximum = value;
    m.minimum = std::min(m.minimum, value);
    m.maximum = std::max(m.maximum, value);
    ++m.count;
}

std::vector<MinuteRange> MinuteEnvelope::Filled() const
{
    std::vector<MinuteRange> filled;
    for (const MinuteRange& m : minutes_)
        if (m.count > 0)
            filled.push_back(m);
    return filled;
}


ValueAxis NiceAxis(double lo, double hi, bool fixedLow)
{
    if (!std::isfinite(lo) || !std::isfinite(hi)) {
        lo = 0;
        hi = 1;
    }
    if (lo > hi)
        std::swap(lo, hi);
    if (hi == lo) {
        const double d = lo != 0 ? std::fabs(lo) * 0.1 : 1;
        if (!fixedLow)
            lo -= d;
        hi += d;
    }
    if (!std::isfinite(lo) || !std::isfinite(hi) || !std::isfinite(hi - lo))
        return ValueAxis{};
    const double margin = (hi - lo) * 0.04;
    double low = fixedLow ? lo : lo - margin;
    double high = hi + margin;
    if (lo >= 0 && low < 0)
        low = 0;
    if (hi <= 0 && high > 0)
        high = 0;

    // The smallest step of 1, 2 or 5 times a power of ten that covers the
    // range in at most eight intervals.
    const int kMaxIntervals = 8;
    int exponent = static_cast<int>(std::floor(std::log10((high - low) / 10)));
    for (;;) {
        for (const int mult : {1, 2, 5}) {
            const double step = mult * std::pow(10.0, exponent);
            const double kLow = std::floor(low / step + 1e-9), kHigh = std::ceil(high / step - 1e-9);
            if (kHigh - kLow <= kMaxIntervals) {
                ValueAxis axis;
                axis.step = step;
                axis.low = kLow * step;
                axis.high = kHigh * step;
                axis.decimals = std::max(0, -exponent);
                return axis;
            }
        }
        ++exponent;
    }
}

std::string TickText(double value, int decimals)
{
    decimals = std::min(std::max(decimals, 0), 12);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    std::string s = buf;
    // The decimal separator of whatever locale is in force becomes a comma.
    for (char& c : s)
        if (c == '.')
            c = ',';
    if (s.find_first_not_of("-0,") == std::string::npos && s[0] == '-')
        s.erase(0, 1);  // no "-0"
    return s;
}

ChartFrame DayChartFrame(const DayChart& chart)
{
    double lo = std::numeric_limits<double>::infinity(), hi = -lo;
    auto take = [&](double v) {
        if (Finite(v)) {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    };
    for (const DaySeries& s : chart.series) {
        for (const TimedValue& p : s.points)
            if (InDay(p))
                take(p.value);
        for (const MinuteRange& m : BandOf(s)) {
            take(m.minimum);
            take(m.maximum);
        }
    }
    for (const LimitLine& l : chart.limits)
        take(l.value);
    if (chart.includeZero)
        take(0);
    if (lo > hi)
        lo = hi = 0;

    ChartFrame f;
    f.left = kPlotLeft;
    f.right = kPlotRight;
    f.bottom = kPlotBottom;
    f.top = PlotTop(LegendRows(DayLegend(chart)));
    f.xLow = 0;
    f.xHigh = kSecondsPerDay;
    f.y = NiceAxis(lo, hi);
    return f;
}

std::string DayChartSvg(const DayChart& chart)
{
    const ChartFrame f = DayChartFrame(chart);
    std::string s = SvgOpen(chart.title.empty() ? chart.yLabel : chart.title);

    // Shaded stretches, split at midnight when they run over it.
    std::string shades;
    auto shade = [&](double from, double to) {
        from = std::clamp(from, 0.0, kSecondsPerDay);
        to = std::clamp(to, 0.0, kSecondsPerDay);
        if (to > from)
            shades += "<rect" + Attr("x", f.X(from)) + Attr("y", f.top) + Attr("width", f.X(to) - f.X(from)) +
                      Attr("height", f.bottom - f.top) + "/>\n";
    };
    for (const TimeRange& r : chart.shaded) {
        if (r.toSeconds >= r.fromSeconds)
            shade(r.fromSeconds, r.toSeconds);
        else {
            shade(r.fromSeconds, kSecondsPerDay);
            shade(0, r.toSeconds);
        }
    }
    if (!shades.empty())
        s += "<g class=\"shaded\" fill=\"#e3e3e3\">\n" + shades + "</g>\n";

    // Time axis: a grid line and a label every three hours.
    PathData grid, ticks;
    std::string timeLabels;
    for (int h = 0; h <= 24; h += 3) {
        const double x = f.X(h * 3600.0);
        if (h != 0 && h != 24) {
            grid.MoveTo(x, f.top);
            grid.LineTo(x, f.bottom);
        }
        ticks.MoveTo(x, f.bottom);
        ticks.LineTo(x, f.bottom + 4);
        timeLabels += Text(x, f.bottom + 15, "middle", (h < 10 ? "0" : "") + std::to_string(h) + ":00");
    }
    s += "<path class=\"grid\"" + Attr("d", grid.Text()) + " stroke=\"#d4d4d4\" stroke-width=\".6\"/>\n";
    s += ValueAxisMarkup(f, chart.yLabel);
    s += "<path" + Attr("d", ticks.Text()) + " stroke=\"#000\" stroke-width=\".8\"/>\n" + timeLabels;

    for (const LimitLine& l : chart.limits) {
        const int k = l.kind == LimitKind::Maximum ? 1 : 0;
        const double y = f.Y(l.value);
        s += "<line class=\"limit\"" + Attr("x1", f.left) + Attr("y1", y) + Attr("x2", f.right) + Attr("y2", y) +
             Attr("stroke", kLimitColour[k]) + Attr("stroke-width", kLimitWidth[k]) +
             Attr("stroke-dasharray", kLimitDash[k]) + "/>\n";
    }

    std::string markers;
    bool drawn = false;
    for (size_t i = 0; i < chart.series.size(); ++i) {
        const DaySeries& series = chart.series[i];
        const SeriesStyle& st = StyleOf(i);
        const std::vector<MinuteRange> band = BandOf(series);
        drawn |= !band.empty() || std::any_of(series.points.begin(), series.points.end(), InDay);
        if (!band.empty())
            s += "<path class=\"band\"" + Attr("d", BandPath(f, band)) + Attr("fill", st.colour) +
                 " fill-opacity=\".3\"" + Attr("stroke", st.colour) + " stroke-width=\".6\" stroke-linejoin=\"round\"/>\n";
        else if (!series.points.empty())
            s += "<path class=\"line\"" + Attr("d", LinePath(f, series)) + " fill=\"none\"" + Attr("stroke", st.colour) +
                 " stroke-width=\"1.2\" stroke-linecap=\"round\" stroke-linejoin=\"round\"" +
                 (*st.dash ? Attr("stroke-dasharray", st.dash) : "") + "/>\n";
        markers += Markers(f, series, band, i, chart.series.size());
    }
    s += markers;

    // Limit labels over everything inside the plot, with a white halo; above
    // the line, or below it where the plot ends just above.
    for (const LimitLine& l : chart.limits) {
        if (l.label.empty())
            continue;
        const double y = f.Y(l.value);
        const double base = y - f.top >= 13 ? y - 3.5 : y + 11;
        s += Text(f.right - 4, base, "end", l.label,
                  " class=\"limit-label\" stroke=\"#fff\" stroke-width=\"3\" paint-order=\"stroke\" "
                  "stroke-linejoin=\"round\"");
    }
    if (!drawn)
        s += NoDataMarkup(f, chart.noDataText);

    s += FrameMarkup(f) + XLabelMarkup(f, chart.xLabel);
    LegendRows(DayLegend(chart), &s);
    return s + "</svg>\n";
}

// ---- the spectrum chart

namespace {

const char* const kP95Fill = "#2b4a7a";
const char* const kMaximumFill = "#cdd8ea";

std::vector<LegendEntry> SpectrumLegend(const SpectrumChart& chart)
{
    std::vector<LegendEntry> entries;
    if (!chart.p95Label.empty())
        entries.push_back({[](double x, double y) {
                               return "<rect" + Attr("x", x + 6) + Attr("y", y - 5) + " width=\"12\" height=\"10\"" +
                                      Attr("fill", kP95Fill) + "/>\n";
                           },
                           chart.p95Label});
    if (!chart.maximumLabel.empty())
        entries.push_back({[](double x, double y) {
                               return "<rect" + Attr("x", x + 6) + Attr("y", y - 5) + " width=\"12\" height=\"10\"" +
                                      Attr("fill", kMaximumFill) + Attr("stroke", kP95Fill) + " stroke-width=\".7\"/>\n";
                           },
                           chart.maximumLabel});
    if (!chart.limitLabel.empty())
        entries.push_back({[](double x, double y) {
                               const std::string d = "M" + Pair(x + 3, y) + "h18";
                               return "<path" + Attr("d", d) + " stroke=\"#fff\" stroke-width=\"4.5\"/>\n<path" +
                                      Attr("d", d) + " stroke=\"#000\" stroke-width=\"2\"/>\n";
                           },
                           chart.limitLabel});
    return entries;
}

}  // namespace

ChartFrame SpectrumChartFrame(const SpectrumChart& chart)
{
    int first = 2, last = 40;
    double hi = 0;
    if (!chart.orders.empty()) {
        first = last = chart.orders.front().order;
        for (const HarmonicBars& o : chart.orders) {
            first = std::min(first, o.order);
            last = std::max(last, o.order);
            for (const std::optional<double>& v : {o.p95, o.maximum, o.limit})
                if (v && Finite(*v))
                    hi = std::max(hi, *v);
        }
    }
    ChartFrame f;
    f.left = kPlotLeft;
    f.right = kPlotRight;
    f.bottom = kPlotBottom;
    f.top = PlotTop(LegendRows(SpectrumLegend(chart)));
    f.xLow = first - 0.5;
    f.xHigh = last + 0.5;
    f.y = NiceAxis(0, hi, true);
    return f;
}

std::string SpectrumChartSvg(const SpectrumChart& chart)
{
    const ChartFrame f = SpectrumChartFrame(chart);
    std::string s = SvgOpen(chart.title.empty() ? chart.yLabel : chart.title);
    s += ValueAxisMarkup(f, chart.yLabel);

    const double slot = f.X(1) - f.X(0);
    std::string p95Bars, maximumBars;
    PathData marks;
    auto bar = [&](double from, double to, double v) {
        const long long x0 = Tenths(f.X(from)), x1 = Tenths(f.X(to));
        const long long y0 = Tenths(f.Y(std::max(v, 0.0))), y1 = Tenths(f.bottom);
        return "<rect" + Attr("x", TenthsText(x0)) + Attr("y", TenthsText(y0)) + Attr("width", TenthsText(x1 - x0)) +
               Attr("height", TenthsText(y1 - y0)) + "/>\n";
    };
    for (const HarmonicBars& o : chart.orders) {
        const double n = o.order;
        if (o.p95 && Finite(*o.p95))
            p95Bars += bar(n - 0.42, n - 0.02, *o.p95);
        if (o.maximum && Finite(*o.maximum))
            maximumBars += bar(n + 0.02, n + 0.42, *o.maximum);
        if (o.limit && Finite(*o.limit)) {
            marks.MoveTo(f.X(n - 0.47), f.Y(*o.limit));
            marks.Horizontal(0.94 * slot);
        }
    }
    if (!p95Bars.empty())
        s += "<g class=\"p95\"" + Attr("fill", kP95Fill) + ">\n" + p95Bars + "</g>\n";
    if (!maximumBars.empty())
        s += "<g class=\"maximum\"" + Attr("fill", kMaximumFill) + Attr("stroke", kP95Fill) +
             " stroke-width=\".6\">\n" + maximumBars + "</g>\n";
    if (!marks.Empty())
        s += "<g class=\"limit\">\n<path" + Attr("d", marks.Text()) + " stroke=\"#fff\" stroke-width=\"4.5\"/>\n<path" +
             Attr("d", marks.Text()) + " stroke=\"#000\" stroke-width=\"2\"/>\n</g>\n";
    if (p95Bars.empty() && maximumBars.empty())
        s += NoDataMarkup(f, chart.noDataText);

    // Order labels under the slots, every order where they fit.
    const int every = std::max(1, static_cast<int>(std::ceil(15 / slot)));
    const int first = static_cast<int>(std::lround(f.xLow + 0.5)), last = static_cast<int>(std::lround(f.xHigh - 0.5));
    for (int n = first; n <= last; ++n)
        if ((n - first) % every == 0)
            s += Text(f.X(n), f.bottom + 13, "middle", std::to_string(n), " font-size=\"10\"");

    s += FrameMarkup(f) + XLabelMarkup(f, chart.xLabel);
    LegendRows(SpectrumLegend(chart), &s);
    return s + "</svg>\n";
}

}  // namespace pq
