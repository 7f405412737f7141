#include "pages/fixed_texts.h"

#include "base/text.h"

namespace pq {

const std::string& MakerName()
{
    static const std::string text = CodePageFromUtf8("Т Вирс");
    return text;
}

const std::string& CompliesWord()
{
    static const std::string text = CodePageFromUtf8("соответствует");
    return text;
}

const std::string& DoesNotComplyWord()
{
    static const std::string text = CodePageFromUtf8("не соответствует");
    return text;
}

const std::string& NoDataWord()
{
    static const std::string text = CodePageFromUtf8("нет данных");
    return text;
}

const std::string& NotEvaluatedWord()
{
    static const std::string text = CodePageFromUtf8("не оценено: интервал наблюдения менее недели");
    return text;
}

const std::string& VerdictWord(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Complies:
        return CompliesWord();
    case Verdict::DoesNotComply:
        return DoesNotComplyWord();
    case Verdict::NotEvaluated:
        return NotEvaluatedWord();
    case Verdict::NoData:
        break;
    }
    return NoDataWord();
}

}  // namespace pq
