#pragma once
// Cutting templates at their placeholders and cutting the repeated table rows
// (the max-load period row and the three harmonic rows) out of the day page
// template. Texts are bytes; every search is exact and case-sensitive.
#include <stdexcept>
#include <string>

#include "base/text.h"

namespace pq {

// A harmonic table of the day page with entries from `base` on holds its
// sample row at placeholders base + kHarmonicRowFirst and the next
// kHarmonicRowCells - 1; the row is cut out and repeated once per order.
const int kHarmonicRowFirst = 6;
const int kHarmonicRowCells = 6;
// The repeated rows show orders 3..40; order 2 has fixed placeholders.
const int kFirstRowOrder = 3;
const int kLastRowOrder = 40;
const int kValuesPerOrder = 6;  // record slots of one order, order n from 6(n-2)

// The pieces of `text` around every non-overlapping `separator` (never empty),
// found left to right; always one more piece than occurrences.
TextList SplitText(std::string text, std::string separator);

// Cuts the period sample row (placeholder 10) out of `pieces` into `row`
// (2 pieces). False when it could not be cut completely.
bool CutPeriodRow(TextList& pieces, TextList& row);

// Cuts the harmonic sample row (placeholders base+6 .. base+11) out of
// `pieces` into `row` (7 pieces). False when it could not be cut completely.
bool CutHarmonicRow(TextList& pieces, TextList& row, int base);

// The data error of a malformed harmonic row template.
class DataError : public std::runtime_error {
public:
    DataError();
};

// The numbered rows 3..40 of a harmonic table: row r carries r at the row
// template's "Friday" marker and the values of order 3 on, consecutively.
// Throws DataError unless the row's first piece holds "Friday" exactly once.
std::string NumberedHarmonicRows(const TextList& row, const TextList& values);

// Rows for the further max-load periods (texts from index 1 on).
std::string PeriodRows(const TextList& row, const TextList& periodTexts);

}  // namespace pq
