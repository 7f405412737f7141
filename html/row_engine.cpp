#include "html/row_engine.h"

namespace pq {

namespace {
const std::string kRowStart = "<tr ";
const std::string kRowEnd = "</tr>";
const std::string kRowNumber = "Friday";
// "Ошибка данных" in CP1251.
const char kDataErrorText[] = "\xCE\xF8\xE8\xE1\xEA\xE0 \xE4\xE0\xED\xED\xFB\xF5";

// Joins parts[first..last] with the separator.
std::string JoinParts(const TextList& parts, size_t first, size_t last, const std::string& separator)
{
    std::string joined;
    for (size_t i = first; i <= last && i < parts.size(); ++i) {
        if (i > first)
            joined += separator;
        joined += parts[i];
    }
    return joined;
}

}  // namespace

TextList SplitText(std::string text, std::string separator)
{
    TextList pieces;
    size_t from = 0;
    for (size_t at; (at = text.find(separator, from)) != std::string::npos; from = at + separator.size())
        pieces.push_back(text.substr(from, at - from));
    pieces.push_back(text.substr(from));
    return pieces;
}

bool CutPeriodRow(TextList& pieces, TextList& row)
{
    if (pieces.size() < 12)
        return false;
    const TextList marked = SplitText(pieces[10], kRowNumber);
    if (marked.size() != 2)
        return false;
    const TextList opening = SplitText(marked[0] + marked[1], kRowStart);
    if (opening.size() < 2)
        return false;
    pieces[10] = JoinParts(opening, 0, opening.size() - 2, kRowStart);
    row.push_back(kRowStart + opening.back());

    const TextList closing = SplitText(pieces[11], kRowEnd);
    if (closing.size() < 2)
        return false;
    row.push_back(closing[0] + kRowEnd);
    pieces[11] = JoinParts(closing, 1, closing.size() - 1, kRowEnd);
    return true;
}

bool CutHarmonicRow(TextList& pieces, TextList& row, int base)
{
    if (base < 0 || pieces.size() < static_cast<size_t>(base + kHarmonicRowFirst + kHarmonicRowCells) + 1)
        return false;
    const size_t first = static_cast<size_t>(base) + kHarmonicRowFirst;
    const TextList opening = SplitText(pieces[first], kRowStart);
    if (opening.size() < 2)
        return false;
    pieces[first] = JoinParts(opening, 0, opening.size() - 2, kRowStart);
    row.push_back(kRowStart + opening.back());
    const size_t last = first + kHarmonicRowCells;  // the piece after the row's last placeholder
    for (size_t k = first + 1; k < last; ++k)
        row.push_back(pieces[k]);

    const TextList closing = SplitText(pieces[last], kRowEnd);
    if (closing.size() < 2)
        return false;
    row.push_back(closing[0] + kRowEnd);
    pieces[last] = JoinParts(closing, 1, closing.size() - 1, kRowEnd);
    return true;
}

DataError::DataError() : std::runtime_error(kDataErrorText) {}

std::string NumberedHarmonicRows(const TextList& row, const TextList& values)
{
    std::string rows;
    size_t next = kValuesPerOrder * (kFirstRowOrder - 2);
    for (int r = kFirstRowOrder; r <= kLastRowOrder; ++r) {
        if (row.empty())
            throw DataError();
        const TextList numbered = SplitText(row[0], kRowNumber);
        if (numbered.size() != 2)
            throw DataError();
        rows += numbered[0] + std::to_string(r) + numbered[1];
        for (size_t j = 1; j < row.size(); ++j) {
            rows += next < values.size() ? values[next] : std::string();
            ++next;
            rows += row[j];
        }
    }
    return rows;
}

std::string PeriodRows(const TextList& row, const TextList& periodTexts)
{
    std::string rows;
    if (row.size() < 2)
        return rows;
    for (size_t i = 1; i < periodTexts.size(); ++i)
        rows += row[0] + periodTexts[i] + row[1];
    return rows;
}

}  // namespace pq
