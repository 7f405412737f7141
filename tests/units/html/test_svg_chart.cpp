// The chart renderer: per-minute envelopes, value axes, and the geometry of
// day and spectrum charts read back from their markup.
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "html/svg_chart.h"

using namespace pq;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
// Coordinates are written in tenths (band y in whole units).
const double kTenth = 0.05 + 1e-9;
const double kWhole = 0.5 + 1e-9;

struct Point {
    double x, y;
};
struct Subpath {
    std::vector<Point> points;
    bool closed = false;
};

// Path data read back into absolute vertices (commands M m L l H h V v Z z,
// numbers in the C notation whatever the process locale).
std::vector<Subpath> ParsePath(const std::string& d)
{
    std::vector<Subpath> out;
    size_t i = 0;
    auto skip = [&] {
        while (i < d.size() && d[i] == ' ')
            ++i;
    };
    auto atNumber = [&] {
        skip();
        return i < d.size() && (d[i] == '-' || d[i] == '.' || (d[i] >= '0' && d[i] <= '9'));
    };
    auto number = [&] {
        skip();
        double sign = 1, v = 0, scale = 0;
        if (d[i] == '-') {
            sign = -1;
            ++i;
        }
        for (; i < d.size() && ((d[i] >= '0' && d[i] <= '9') || (d[i] == '.' && scale == 0)); ++i) {
            if (d[i] == '.')
                scale = 1;
            else if (scale == 0)
                v = v * 10 + (d[i] - '0');
            else
                v += (d[i] - '0') * (scale /= 10);
        }
        return sign * v;
    };
    Point cur{0, 0};
    char command = 0;
    while (skip(), i < d.size()) {
        if (!atNumber())
            command = d[i++];
        const bool rel = command >= 'a';
        switch (command) {
        case 'M': case 'm': {
            const double x = number(), y = number();
            cur = rel ? Point{cur.x + x, cur.y + y} : Point{x, y};
            out.push_back({{cur}, false});
            command = rel ? 'l' : 'L';
            break;
        }
        case 'L': case 'l': {
            const double x = number(), y = number();
            cur = rel ? Point{cur.x + x, cur.y + y} : Point{x, y};
            out.back().points.push_back(cur);
            break;
        }
        case 'H': case 'h': {
            const double x = number();
            cur.x = rel ? cur.x + x : x;
            out.back().points.push_back(cur);
            break;
        }
        case 'V': case 'v': {
            const double y = number();
            cur.y = rel ? cur.y + y : y;
            out.back().points.push_back(cur);
            break;
        }
        case 'Z': case 'z':
            out.back().closed = true;
            cur = out.back().points.front();
            break;
        default:
            ADD_FAILURE() << "unexpected '" << command << "' in " << d;
            return out;
        }
    }
    return out;
}

using Attributes = std::map<std::string, std::string>;

// The attributes of every <tag ...> element in `markup`, in order.
std::vector<Attributes> Elements(const std::string& markup, const std::string& tag)
{
    std::vector<Attributes> out;
    for (size_t at = markup.find("<" + tag + " "); at != std::string::npos; at = markup.find("<" + tag + " ", at + 1)) {
        const size_t end = markup.find('>', at);
        const std::string inside = markup.substr(at + tag.size() + 1, end - at - tag.size() - 1);
        Attributes a;
        for (size_t p = 0;;) {
            const size_t eq = inside.find("=\"", p);
            if (eq == std::string::npos)
                break;
            const size_t close = inside.find('"', eq + 2);
            size_t name = inside.rfind(' ', eq);
            name = name == std::string::npos ? 0 : name + 1;
            a[inside.substr(name, eq - name)] = inside.substr(eq + 2, close - eq - 2);
            p = close + 1;
        }
        out.push_back(a);
    }
    return out;
}

std::vector<Attributes> WithClass(const std::string& markup, const std::string& tag, const std::string& cls)
{
    std::vector<Attributes> out;
    for (const Attributes& a : Elements(markup, tag))
        if (a.count("class") && a.at("class") == cls)
            out.push_back(a);
    return out;
}

// The content of the group <g class="cls" ...> ... </g>.
std::string Group(const std::string& markup, const std::string& cls)
{
    const size_t at = markup.find("<g class=\"" + cls + "\"");
    if (at == std::string::npos)
        return "";
    const size_t from = markup.find('>', at) + 1;
    return markup.substr(from, markup.find("</g>", from) - from);
}

// A numeric attribute, read in the C notation.
double Number(const Attributes& a, const char* name)
{
    const std::string& v = a.at(name);
    EXPECT_EQ(v.find(','), std::string::npos) << name << "=" << v;
    return strtod_l(v.c_str(), nullptr, CLocale());
}

// Minutes 0..n-1 of values 1, 2, 3 ... as a one-minute line series.
DaySeries MinuteLine(std::vector<double> values, double step = 60)
{
    DaySeries s;
    s.name = "L1";
    s.stepSeconds = step;
    for (size_t k = 0; k < values.size(); ++k)
        s.points.push_back({static_cast<double>(k) * step, values[k]});
    return s;
}

TEST(SvgMinuteEnvelope, ReducesSamplesToTheirMinutes)
{
    MinuteEnvelope e;
    const struct {
        double seconds, value;
    } samples[] = {
        {0, 5},        {30, 2},     {59.999, 7},   // minute 0
        {60, -1},                                  // the first second of minute 1
        {119.5, -3},   {119.99, 4},                // minute 1's last second
        {3600, 1.5},                               // minute 60, one sample
        {86399.9, 9},                              // the day's last minute
        {-0.1, 100},   {86400, 100}, {1000, kNaN}, {1000, INFINITY},  // refused
    };
    for (const auto& s : samples)
        e.Add(s.seconds, s.value);

    const struct {
        int minute;
        double minimum, maximum;
        int count;
    } expected[] = {{0, 2, 7, 3}, {1, -3, 4, 3}, {60, 1.5, 1.5, 1}, {1439, 9, 9, 1}};
    const std::vector<MinuteRange> filled = e.Filled();
    ASSERT_EQ(filled.size(), std::size(expected));
    for (size_t k = 0; k < filled.size(); ++k) {
        EXPECT_EQ(filled[k].minute, expected[k].minute);
        EXPECT_EQ(filled[k].minimum, expected[k].minimum) << expected[k].minute;
        EXPECT_EQ(filled[k].maximum, expected[k].maximum) << expected[k].minute;
        EXPECT_EQ(filled[k].count, expected[k].count) << expected[k].minute;
    }
    for (const int empty : {2, 59, 61, 1438})
        EXPECT_EQ(e.Minute(empty).count, 0) << empty;
    EXPECT_EQ(e.Minute(16).minute, 16);
    EXPECT_EQ(e.Refused(), 4);
}

TEST(SvgValueAxis, NiceStepsTakingInTheRangeWithAMargin)
{
    const struct {
        double lo, hi;
        bool fixedLow;
        double low, high, step;
        int decimals;
    } cases[] = {
        {-10, 10, false, -15, 15, 5, 0},   // +-10 % limits
        {-5, 5, false, -6, 6, 2, 0},
        {-0.4, 0.4, false, -0.6, 0.6, 0.2, 1},  // frequency deviation limits
        {0, 12, true, 0, 14, 2, 0},
        {0.5, 3, false, 0, 3.5, 0.5, 1},  // values of one sign stay on their side of zero
        {-3, -1, false, -3.5, -0.5, 0.5, 1},
        {2, 2, false, 1.7, 2.3, 0.1, 1},  // one value
        {0, 0, true, 0, 1.2, 0.2, 1},
        {0.01, 0.03, false, 0.005, 0.035, 0.005, 3},
        {-9.99, 10.01, false, -15, 15, 5, 0},
    };
    for (const auto& c : cases) {
        const ValueAxis a = NiceAxis(c.lo, c.hi, c.fixedLow);
        const std::string name = std::to_string(c.lo) + ".." + std::to_string(c.hi);
        EXPECT_NEAR(a.low, c.low, 1e-9) << name;
        EXPECT_NEAR(a.high, c.high, 1e-9) << name;
        EXPECT_NEAR(a.step, c.step, 1e-12) << name;
        EXPECT_EQ(a.decimals, c.decimals) << name;
        EXPECT_LT(a.low, c.fixedLow ? c.lo + 1e-12 : c.lo) << name;
        EXPECT_GT(a.high, c.hi) << name;
        const double intervals = (a.high - a.low) / a.step;
        EXPECT_NEAR(intervals, std::round(intervals), 1e-9) << name;
        EXPECT_LE(intervals, 8) << name;
    }
}

TEST(SvgValueAxis, TickTextsWithADecimalComma)
{
    const struct {
        double value;
        int decimals;
        const char* text;
    } cases[] = {
        {-2.5, 1, "-2,5"}, {0, 0, "0"},       {10, 0, "10"},  {0.05, 2, "0,05"}, {-0.2, 1, "-0,2"},
        {-1e-17, 1, "0,0"}, {0.30000000000000004, 1, "0,3"}, {-15, 0, "-15"}, {0.004, 3, "0,004"},
        {1e20, 0, "100000000000000000000"}, {-2e19, 0, "-20000000000000000000"}, {5, 40, "5,000000000000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TickText(c.value, c.decimals), c.text) << c.value;
}

TEST(SvgDayChart, LinePointsLandOnTheFrameAndBreakAtMissingData)
{
    const struct {
        const char* name;
        std::vector<TimedValue> points;
        std::vector<size_t> subpathSizes;
    } cases[] = {
        {"contiguous", {{0, 1}, {60, 2}, {120, -3}, {180, 4}, {86400, 0.5}}, {4, 1 + 1}},
        {"one point missing: two steps apart still joins", {{0, 1}, {60, 2}, {180, 3}}, {3}},
        {"farther than two steps", {{0, 1}, {60, 2}, {181, 3}, {241, 4}}, {2, 2}},
        {"a value that is not finite", {{0, 1}, {60, 2}, {120, kNaN}, {180, 3}, {240, 4}}, {2, 2}},
        {"a value too large to place", {{0, 1}, {60, 2}, {120, 1.7e308}, {180, 3}, {240, 4}}, {2, 2}},
        {"a lone point between gaps, drawn as a dot", {{0, 1}, {60, 2}, {600, 5}, {1200, 3}, {1260, 4}}, {2, 2, 2}},
        {"time going back", {{600, 1}, {660, 2}, {300, 3}, {360, 4}}, {2, 2}},
    };
    for (const auto& c : cases) {
        DayChart chart;
        DaySeries s;
        s.name = "L1";
        s.points = c.points;
        chart.series = {s};
        const ChartFrame f = DayChartFrame(chart);
        const std::vector<Attributes> lines = WithClass(DayChartSvg(chart), "path", "line");
        ASSERT_EQ(lines.size(), 1u) << c.name;
        const std::vector<Subpath> paths = ParsePath(lines[0].at("d"));

        std::vector<size_t> sizes;
        std::vector<Point> drawn;
        for (const Subpath& p : paths) {
            sizes.push_back(p.points.size());
            EXPECT_FALSE(p.closed) << c.name;
            drawn.insert(drawn.end(), p.points.begin(), p.points.end());
        }
        EXPECT_EQ(sizes, c.subpathSizes) << c.name;

        // Every drawn vertex is a finite point of the series, in order (a
        // dot repeats its point).
        size_t k = 0;
        for (const Point& p : drawn) {
            while (k < c.points.size() &&
                   !(std::isfinite(c.points[k].value) && std::fabs(p.x - f.X(c.points[k].seconds)) <= kTenth &&
                     std::fabs(p.y - f.Y(c.points[k].value)) <= kTenth))
                ++k;
            EXPECT_LT(k, c.points.size()) << c.name << ": a vertex at " << p.x << " " << p.y;
        }
    }
}

TEST(SvgDayChart, TimeAxisSpansTheDayInThreeHourTicks)
{
    DayChart chart;
    chart.series = {MinuteLine({1, 2})};
    const ChartFrame f = DayChartFrame(chart);
    EXPECT_EQ(f.X(0), f.left);
    EXPECT_EQ(f.X(kSecondsPerDay), f.right);
    EXPECT_NEAR(f.X(12 * 3600.0), (f.left + f.right) / 2, 1e-9);
    const std::string svg = DayChartSvg(chart);
    size_t at = 0;
    for (const char* label : {"00:00", "03:00", "06:00", "09:00", "12:00", "15:00", "18:00", "21:00", "24:00"}) {
        at = svg.find(std::string(">") + label + "</text>", at);
        EXPECT_NE(at, std::string::npos) << label;
    }
}

TEST(SvgDayChart, EnvelopeBandsAlongEachRunOfMinutes)
{
    DayChart chart;
    DaySeries s;
    s.name = "L2";
    s.envelope = {{10, 1, 2, 20}, {11, 0.5, 3, 20}, {12, -1, 1, 20}, {20, 4, 4, 1}};
    chart.series = {s};
    const ChartFrame f = DayChartFrame(chart);
    const std::vector<Attributes> bands = WithClass(DayChartSvg(chart), "path", "band");
    ASSERT_EQ(bands.size(), 1u);
    const std::vector<Subpath> paths = ParsePath(bands[0].at("d"));
    ASSERT_EQ(paths.size(), 2u);

    auto at = [&](int minute, double v) { return Point{f.X((minute + 0.5) * 60), f.Y(v)}; };
    const std::vector<Point> expected[] = {
        {at(10, 2), at(11, 3), at(12, 1), at(12, -1), at(11, 0.5), at(10, 1)},
        {at(20, 4), at(20, 4)},  // one minute: its minimum below its maximum
    };
    for (size_t k = 0; k < paths.size(); ++k) {
        EXPECT_TRUE(paths[k].closed);
        ASSERT_EQ(paths[k].points.size(), expected[k].size()) << k;
        for (size_t j = 0; j < expected[k].size(); ++j) {
            EXPECT_NEAR(paths[k].points[j].x, expected[k][j].x, kTenth) << k << " " << j;
            EXPECT_NEAR(paths[k].points[j].y, expected[k][j].y, kWhole) << k << " " << j;  // whole units
        }
    }
}

TEST(SvgDayChart, PointsCloserThanAMinuteAreDrawnAsTheirEnvelope)
{
    // 3-second samples from 00:00 to 01:00 and from 02:00 to 03:00.
    DaySeries points;
    points.name = "L1";
    points.stepSeconds = 3;
    MinuteEnvelope e;
    for (double t = 0; t < 3 * 3600; t += 3) {
        if (t >= 3600 && t < 7200)
            continue;
        const double v = std::sin(t / 700) * 3;
        points.points.push_back({t, v});
        e.Add(t, v);
    }
    DaySeries reduced;
    reduced.name = "L1";
    reduced.envelope = e.Filled();

    DayChart a, b;
    a.series = {points};
    b.series = {reduced};
    const std::string svg = DayChartSvg(a);
    EXPECT_EQ(svg, DayChartSvg(b));
    const std::vector<Attributes> bands = WithClass(svg, "path", "band");
    ASSERT_EQ(bands.size(), 1u);
    EXPECT_EQ(ParsePath(bands[0].at("d")).size(), 2u);
    EXPECT_TRUE(WithClass(svg, "path", "line").empty());
}

TEST(SvgDayChart, LimitLinesAtTheirValuesAcrossThePlot)
{
    DayChart chart;
    chart.series = {MinuteLine({0.3, -1.2, 2.1})};
    chart.limits = {{5, "+5 %", LimitKind::Normal},
                    {-5, "-5 %", LimitKind::Normal},
                    {10, "+10 %", LimitKind::Maximum},
                    {-10, "-10 % &lt;max&gt;", LimitKind::Maximum}};  // labels come escaped
    const ChartFrame f = DayChartFrame(chart);
    const std::string svg = DayChartSvg(chart);
    const std::vector<Attributes> lines = WithClass(svg, "line", "limit");
    ASSERT_EQ(lines.size(), chart.limits.size());
    for (size_t k = 0; k < lines.size(); ++k) {
        EXPECT_NEAR(Number(lines[k], "y1"), f.Y(chart.limits[k].value), kTenth) << k;
        EXPECT_EQ(lines[k].at("y1"), lines[k].at("y2"));
        EXPECT_NEAR(Number(lines[k], "x1"), f.left, kTenth);
        EXPECT_NEAR(Number(lines[k], "x2"), f.right, kTenth);
        EXPECT_EQ(lines[k].at("stroke-dasharray"), lines[k < 2 ? 0 : 2].at("stroke-dasharray"));
    }
    EXPECT_NE(lines[0].at("stroke-dasharray"), lines[2].at("stroke-dasharray"));
    for (const char* label : {">+5 %<", ">-5 %<", ">+10 %<", ">-10 % &lt;max&gt;<"})
        EXPECT_NE(svg.find(label), std::string::npos) << label;
}

TEST(SvgDayChart, ValueRangeTakesInLimitsAndData)
{
    const struct {
        const char* name;
        std::vector<double> values;
        std::vector<double> limits;
        bool includeZero;
    } cases[] = {
        {"data inside the limits", {0.3, -1.2, 2.1}, {5, -5, 10, -10}, false},
        {"data beyond the limits", {-14.5, 3, 12.2}, {5, -5, 10, -10}, false},
        {"data only", {49.9, 50.05, 50.1}, {}, false},
        {"one-sided limits", {0.8, 1.1}, {2, 4}, false},
        {"zero taken in", {220.5, 231}, {242}, true},
    };
    for (const auto& c : cases) {
        DayChart chart;
        chart.series = {MinuteLine(c.values)};
        for (const double l : c.limits)
            chart.limits.push_back({l, "", LimitKind::Normal});
        chart.includeZero = c.includeZero;
        const ChartFrame f = DayChartFrame(chart);
        std::vector<double> all = c.values;
        all.insert(all.end(), c.limits.begin(), c.limits.end());
        if (c.includeZero)
            all.push_back(0);
        for (const double v : all) {
            // Inside the plot; off its edge unless at a zero the range ends at.
            EXPECT_LE(f.Y(v), f.bottom - (v == 0 && f.y.low == 0 ? 0 : 1)) << c.name << " " << v;
            EXPECT_GE(f.Y(v), f.top + 1) << c.name << " " << v;
        }
    }
}

TEST(SvgDayChart, ShadedStretchesSplitAtMidnight)
{
    DayChart chart;
    chart.series = {MinuteLine({1, 2})};
    chart.shaded = {{8 * 3600, 20 * 3600}, {22 * 3600, 2 * 3600}};
    chart.shadedLabel = "max load";
    const ChartFrame f = DayChartFrame(chart);
    const std::string svg = DayChartSvg(chart);
    const std::vector<Attributes> rects = Elements(Group(svg, "shaded"), "rect");
    const double stretches[][2] = {{8, 20}, {22, 24}, {0, 2}};
    ASSERT_EQ(rects.size(), std::size(stretches));
    for (size_t k = 0; k < rects.size(); ++k) {
        EXPECT_NEAR(Number(rects[k], "x"), f.X(stretches[k][0] * 3600), kTenth) << k;
        EXPECT_NEAR(Number(rects[k], "width"), f.X(stretches[k][1] * 3600) - f.X(stretches[k][0] * 3600), 0.1) << k;
        EXPECT_NEAR(Number(rects[k], "y"), f.top, kTenth);
        EXPECT_NEAR(Number(rects[k], "height"), f.bottom - f.top, 0.1);
    }
    EXPECT_NE(svg.find(">max load</text>"), std::string::npos);
}

TEST(SvgDayChart, SeriesDifferInMarkerAndDashAsWellAsColour)
{
    DayChart chart;
    for (const char* name : {"L1", "L2", "L3"}) {
        chart.series.push_back(MinuteLine(std::vector<double>(1440, 1.0)));
        chart.series.back().name = name;
    }
    const std::string svg = DayChartSvg(chart);
    const std::vector<Attributes> lines = WithClass(svg, "path", "line");
    const std::vector<Attributes> markers = WithClass(svg, "path", "marker");
    ASSERT_EQ(lines.size(), 3u);
    ASSERT_EQ(markers.size(), 3u + 3u);  // on the lines and in the legend
    auto dash = [](const Attributes& a) { return a.count("stroke-dasharray") ? a.at("stroke-dasharray") : ""; };
    auto shape = [](const Attributes& a) { return a.at("d").substr(a.at("d").find_first_of("ahl")); };
    for (size_t i = 0; i < 3; ++i)
        for (size_t j = i + 1; j < 3; ++j) {
            EXPECT_NE(lines[i].at("stroke"), lines[j].at("stroke"));
            EXPECT_NE(dash(lines[i]), dash(lines[j]));
            EXPECT_NE(shape(markers[3 + i]), shape(markers[3 + j]));
        }
    for (const char* name : {">L1</text>", ">L2</text>", ">L3</text>"})
        EXPECT_NE(svg.find(name), std::string::npos) << name;
}

TEST(SvgChart, AnImageWithItsTitleEscaped)
{
    DayChart day;
    day.title = "U & I <\"L1\"> 'x'";
    day.yLabel = "dU, %";
    day.series = {MinuteLine({1, 2})};
    SpectrumChart spectrum;
    spectrum.title = day.title;
    spectrum.orders = {{2, 0.1, 0.2, 2}};
    for (const std::string& svg : {DayChartSvg(day), SpectrumChartSvg(spectrum)}) {
        ASSERT_EQ(svg.rfind("<svg ", 0), 0u);
        const Attributes root = Elements(svg, "svg").at(0);
        EXPECT_EQ(root.at("role"), "img");
        EXPECT_EQ(root.at("width"), "100%");
        EXPECT_EQ(root.at("viewBox"), "0 0 720 300");
        EXPECT_NE(svg.find("\n<title>U &amp; I &lt;&quot;L1&quot;&gt; 'x'</title>"), std::string::npos);
        EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
    }
}

// Three phases of 3-second values over a whole day, streamed through
// envelopes: a slow daily swing, a phase offset and noise.
DayChart FullDay()
{
    DayChart chart;
    chart.title = "dU";
    chart.yLabel = "dU, %";
    chart.xLabel = "t";
    uint32_t seed = 12345;
    for (int phase = 0; phase < 3; ++phase) {
        MinuteEnvelope e;
        for (int k = 0; k < 28800; ++k) {
            seed = seed * 1664525u + 1013904223u;
            const double noise = (static_cast<double>(seed >> 8) / (1 << 24) - 0.5) * 1.2;
            const double t = k * 3.0;
            e.Add(t, 3 * std::sin(t / kSecondsPerDay * 6.283 + phase) + phase * 0.4 + noise);
        }
        DaySeries s;
        s.name = "L" + std::to_string(phase + 1);
        s.envelope = e.Filled();
        chart.series.push_back(s);
    }
    chart.limits = {{5, "+5", LimitKind::Normal}, {-5, "-5", LimitKind::Normal},
                    {10, "+10", LimitKind::Maximum}, {-10, "-10", LimitKind::Maximum}};
    chart.shaded = {{8 * 3600, 20 * 3600}};
    chart.shadedLabel = "max load";
    return chart;
}

TEST(SvgDayChart, AFullDayOfThreePhasesInThreeSecondValuesStaysSmall)
{
    const std::string svg = DayChartSvg(FullDay());
    EXPECT_LT(svg.size(), 60000u);
    const std::vector<Attributes> bands = WithClass(svg, "path", "band");
    ASSERT_EQ(bands.size(), 3u);
    for (const Attributes& b : bands) {
        const std::vector<Subpath> paths = ParsePath(b.at("d"));
        ASSERT_EQ(paths.size(), 1u);
        EXPECT_EQ(paths[0].points.size(), 2u * kMinutesPerDay);
    }
}

TEST(SvgChart, MarkupNumbersCarryADecimalPointUnderTheReportLocale)
{
    ASSERT_EQ(std::string(std::localeconv()->decimal_point), ",") << "the tests run under ru_RU.CP1251";
    DayChart day = FullDay();
    day.series.push_back(MinuteLine({0.12, -0.05, 0.3}));
    for (DaySeries& s : day.series)
        for (MinuteRange& m : s.envelope) {
            m.minimum /= 20;
            m.maximum /= 20;
        }
    day.limits = {{0.2, "+0,2", LimitKind::Normal}, {-0.4, "-0,4", LimitKind::Maximum}};
    SpectrumChart spectrum;
    for (int n = 2; n <= 40; ++n)
        spectrum.orders.push_back({n, 0.013 * n, 0.021 * n, n % 2 ? 0.35 : std::optional<double>()});
    const std::regex fraction("\\.[0-9]"), commaTick(">-?[0-9]+,[0-9]+</text>");
    for (const std::string& svg : {DayChartSvg(day), SpectrumChartSvg(spectrum)}) {
        // Every attribute of every element, text aside.
        size_t attributes = 0, fractions = 0;
        for (size_t at = svg.find('<'); at != std::string::npos; at = svg.find('<', at + 1)) {
            const std::string tag = svg.substr(at, svg.find('>', at) - at);
            for (size_t q = tag.find("=\""); q != std::string::npos; q = tag.find("=\"", q + 1)) {
                const std::string value = tag.substr(q + 2, tag.find('"', q + 2) - q - 2);
                ++attributes;
                fractions += std::regex_search(value, fraction);
                if (value.find("Arial") == std::string::npos) {
                    EXPECT_EQ(value.find(','), std::string::npos) << tag;
                }
            }
        }
        EXPECT_GT(attributes, 100u);
        EXPECT_GT(fractions, 10u);                        // fractions are there, with a point
        EXPECT_TRUE(std::regex_search(svg, commaTick));  // and tick labels with a comma
    }
}

TEST(SvgSpectrumChart, BarsAndLimitMarksAtTheirValues)
{
    SpectrumChart chart;
    chart.p95Label = "95 %";
    chart.maximumLabel = "max";
    chart.limitLabel = "limit";
    chart.orders = {{2, 0.4, 0.9, 2.0}, {3, 3.1, 5.6, 5.0}, {4, {}, 0.2, 1.0}, {5, 0.0, 0.0, {}}, {40, 0.1, 0.3, 0.5}};
    const ChartFrame f = SpectrumChartFrame(chart);
    EXPECT_EQ(f.y.low, 0);
    EXPECT_GT(f.y.high, 5.6);
    EXPECT_NEAR(f.X(2) - f.left, (f.right - f.left) / 39 / 2, 1e-9);  // orders 2..40 in 39 slots
    EXPECT_NEAR(f.right - f.X(40), (f.right - f.left) / 39 / 2, 1e-9);

    const std::string svg = SpectrumChartSvg(chart);
    const std::vector<Attributes> p95 = Elements(Group(svg, "p95"), "rect");
    const std::vector<Attributes> maximum = Elements(Group(svg, "maximum"), "rect");
    const std::vector<Subpath> marks = ParsePath(Elements(Group(svg, "limit"), "path").at(1).at("d"));

    auto checkBars = [&](const std::vector<Attributes>& bars, bool left, std::vector<std::pair<int, double>> want) {
        ASSERT_EQ(bars.size(), want.size()) << (left ? "95 %" : "max");
        for (size_t k = 0; k < bars.size(); ++k) {
            const double x = Number(bars[k], "x"), w = Number(bars[k], "width");
            const double y = Number(bars[k], "y"), h = Number(bars[k], "height");
            const double centre = f.X(want[k].first);
            EXPECT_TRUE(left ? x + w <= centre && x >= f.X(want[k].first - 0.5)
                             : x >= centre && x + w <= f.X(want[k].first + 0.5))
                << want[k].first;
            EXPECT_GT(w, 4);
            EXPECT_NEAR(y, f.Y(want[k].second), kTenth) << want[k].first;
            EXPECT_NEAR(y + h, f.bottom, 0.1) << want[k].first;
        }
    };
    checkBars(p95, true, {{2, 0.4}, {3, 3.1}, {5, 0}, {40, 0.1}});
    checkBars(maximum, false, {{2, 0.9}, {3, 5.6}, {4, 0.2}, {5, 0}, {40, 0.3}});

    const std::pair<int, double> limits[] = {{2, 2.0}, {3, 5.0}, {4, 1.0}, {40, 0.5}};
    ASSERT_EQ(marks.size(), std::size(limits));
    for (size_t k = 0; k < marks.size(); ++k) {
        ASSERT_EQ(marks[k].points.size(), 2u);
        EXPECT_NEAR(marks[k].points[0].y, f.Y(limits[k].second), kTenth) << limits[k].first;
        EXPECT_EQ(marks[k].points[1].y, marks[k].points[0].y);
        EXPECT_LT(marks[k].points[0].x, f.X(limits[k].first) - 5);
        EXPECT_GT(marks[k].points[1].x, f.X(limits[k].first) + 5);
    }
    for (const char* label : {">2</text>", ">21</text>", ">40</text>", ">95 %</text>", ">limit</text>"})
        EXPECT_NE(svg.find(label), std::string::npos) << label;
}

}  // namespace
