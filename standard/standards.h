#pragma once
// The standards a report can be asked to evaluate besides the day pages' own,
// by the words of the settings' Evaluate list.
#include <string>
#include <vector>

#include "standard/standard.h"

namespace pq {

// GOST 32144-2013 ("32144-2013").
const std::vector<const Standard*>& EvaluatedStandards();

// The standard a word asks for; null for a word that names none.
const Standard* StandardOfWord(const std::string& word);

// The words StandardOfWord knows, for messages: "32144-2013".
std::string KnownStandardWords();

}  // namespace pq
