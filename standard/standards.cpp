#include "standard/standards.h"

#include "standard/gost_32144_2013.h"

namespace pq {

const std::vector<const Standard*>& EvaluatedStandards()
{
    static const std::vector<const Standard*> standards{&Gost32144()};
    return standards;
}

const Standard* StandardOfWord(const std::string& word)
{
    for (const Standard* s : EvaluatedStandards())
        if (s->Word() == word)
            return s;
    return nullptr;
}

std::string KnownStandardWords()
{
    std::string words;
    for (const Standard* s : EvaluatedStandards())
        words += (words.empty() ? "" : ", ") + s->Word();
    return words;
}

}  // namespace pq
