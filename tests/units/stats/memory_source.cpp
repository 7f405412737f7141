#include "tests/units/stats/memory_source.h"

#include <algorithm>
#include <cmath>

#include "db/queries.h"
#include "db/value_text.h"

namespace pq {

ValueReading ReadingOf(const MemorySource::Stored& v)
{
    if (v.text)
        return ReadValue(v.bytes);
    return std::isfinite(v.number) ? ValueReading{v.number, true} : ValueReading{0.0, false};
}

double NumberOf(const MemorySource::Stored& v) { return ReadingOf(v).value; }

namespace {

// SQLite's order of two values: numbers by value before every text, texts by
// their bytes.
bool SqliteLess(const MemorySource::Stored& a, const MemorySource::Stored& b)
{
    if (a.text != b.text)
        return !a.text;
    return a.text ? a.bytes < b.bytes : a.number < b.number;
}

bool ByNumberLess(const MemorySource::Stored& a, const MemorySource::Stored& b)
{
    return NumberOf(a) < NumberOf(b);
}

bool IsInfinity(const MemorySource::Stored& v) { return !v.text && std::isinf(v.number); }

// Whether the time stamp lies in [from, to), compared as texts.
bool InRange(const std::string& stamp, const wxDateTime& from, const wxDateTime& to)
{
    return stamp >= TimeStamp(from) && stamp < TimeStamp(to);
}

bool InWindowOf(const std::string& stamp, const SampleWindow& w)
{
    const size_t n = std::min(w.begins.size(), w.ends.size());
    if (w.regime == LoadRegime::WholeDay || n == 0)
        return InRange(stamp, w.from, w.to);
    if (w.regime == LoadRegime::MaxLoad) {
        if (!InRange(stamp, w.from, w.to))
            return false;
        for (size_t i = 0; i < n; ++i)
            if (InRange(stamp, w.begins[i], w.ends[i]))
                return true;
        return false;
    }
    if (InRange(stamp, w.from, w.begins[0]) || InRange(stamp, w.ends[n - 1], w.to))
        return true;
    for (size_t i = 1; i < n; ++i)
        if (InRange(stamp, w.ends[i - 1], w.begins[i]))
            return true;
    return false;
}

// The values read pass by pass, counting on each pass what was stored as
// text and as an infinity, as the database source's stream counts them.
class MemoryValues : public OrderedValues {
public:
    explicit MemoryValues(std::vector<MemorySource::Stored> values) : values_(std::move(values)) {}

    void Rewind() override
    {
        next_ = 0;
        storedAsText_ = infinities_ = 0;
    }
    bool Next() override
    {
        if (next_ >= values_.size())
            return false;
        const MemorySource::Stored& v = values_[next_++];
        storedAsText_ += v.text;
        infinities_ += IsInfinity(v);
        return true;
    }
    ValueReading Value() override
    {
        return next_ == 0 ? ValueReading{0.0, false} : ReadingOf(values_[next_ - 1]);
    }
    int StoredAsText() const override { return storedAsText_; }
    int Infinities() const override { return infinities_; }

private:
    std::vector<MemorySource::Stored> values_;
    size_t next_ = 0;
    int storedAsText_ = 0;
    int infinities_ = 0;
};

class CountedHold : public StatisticHold {
public:
    explicit CountedHold(int& commits) : commits_(commits) {}
    void Commit() override { ++commits_; }

private:
    int& commits_;
};

}  // namespace

void MemorySource::Put(const std::string& table, const std::string& column, const wxDateTime& at, double value)
{
    if (std::isnan(value))
        return;
    Stored v;
    v.stamp = TimeStamp(at);
    v.number = value;
    values_[{table, column}].push_back(v);
}

void MemorySource::PutText(const std::string& table, const std::string& column, const wxDateTime& at,
                           const std::string& text)
{
    Stored v;
    v.stamp = TimeStamp(at);
    v.text = true;
    v.bytes = text;
    values_[{table, column}].push_back(v);
}

void MemorySource::PutSeries(const std::string& table, const std::string& column, const wxDateTime& start,
                             int stepSeconds, const std::vector<double>& values)
{
    for (size_t i = 0; i < values.size(); ++i)
        Put(table, column, start + wxTimeSpan::Seconds(static_cast<long>(i) * stepSeconds), values[i]);
}

void MemorySource::PutMinutes(const std::string& table, const std::string& column, const wxDateTime& start,
                              const std::vector<double>& numbers, const std::vector<std::string>& texts)
{
    PutSeries(table, column, start, 60, numbers);
    for (size_t i = 0; i < texts.size(); ++i)
        PutText(table, column, start + wxTimeSpan::Minutes(static_cast<long>(numbers.size() + i)), texts[i]);
}

std::vector<MemorySource::Stored> MemorySource::InWindow(const SampleColumn& c, const SampleWindow& window) const
{
    std::vector<Stored> in;
    const auto it = values_.find({c.table, c.column});
    if (it == values_.end())
        return in;
    for (const Stored& v : it->second)
        if (InWindowOf(v.stamp, window))
            in.push_back(v);
    return in;
}

std::unique_ptr<StatisticHold> MemorySource::Hold()
{
    ++holds_;
    return std::make_unique<CountedHold>(commits_);
}

int MemorySource::Count(const SampleColumn& c, const SampleWindow& window)
{
    return static_cast<int>(InWindow(c, window).size());
}

std::unique_ptr<OrderedValues> MemorySource::Ordered(const SampleColumn& c, const SampleWindow& window,
                                                     bool byNumber)
{
    std::vector<Stored> values = InWindow(c, window);
    std::stable_sort(values.begin(), values.end(), byNumber ? ByNumberLess : SqliteLess);
    return std::make_unique<MemoryValues>(std::move(values));
}

StoredExtreme MemorySource::Extreme(const SampleColumn& c, const SampleWindow& window, ExtremeKind kind)
{
    const std::vector<Stored> values = InWindow(c, window);
    StoredExtreme e;
    if (values.empty())
        return e;
    std::vector<Stored>::const_iterator at = values.begin();
    switch (kind) {
    case ExtremeKind::Minimum:
        at = std::min_element(values.begin(), values.end(), SqliteLess);
        break;
    case ExtremeKind::Maximum:
        at = std::max_element(values.begin(), values.end(), SqliteLess);
        break;
    case ExtremeKind::SmallestByNumber:
        at = std::min_element(values.begin(), values.end(), ByNumberLess);
        break;
    case ExtremeKind::LargestByNumber:
        at = std::max_element(values.begin(), values.end(), ByNumberLess);
        break;
    }
    e.found = true;
    e.reading = ReadingOf(*at);
    e.storedAsText = at->text;
    e.infinity = IsInfinity(*at);
    return e;
}

int MemorySource::StoredAsTextCount(const SampleColumn& c, const SampleWindow& window)
{
    const std::vector<Stored> values = InWindow(c, window);
    return static_cast<int>(std::count_if(values.begin(), values.end(), [](const Stored& v) { return v.text; }));
}

}  // namespace pq
