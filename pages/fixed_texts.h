#pragma once
// The report's own words, in CP1251.
#include <string>

#include "model/quantity.h"

namespace pq {

// "Т Вирс", value 0 of every page.
const std::string& MakerName();
// "соответствует" and "не соответствует", the verdicts of the title page,
// and "нет данных" for a quantity without a single measured value.
const std::string& CompliesWord();
const std::string& DoesNotComplyWord();
const std::string& NoDataWord();
// "не оценено: интервал наблюдения менее недели", the verdict of a standard
// of weeks over a shorter period.
const std::string& NotEvaluatedWord();

// The title page's word for a verdict.
const std::string& VerdictWord(Verdict verdict);

}  // namespace pq
