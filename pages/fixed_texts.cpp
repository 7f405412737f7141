#include "pages/fixed_texts.h"

#include <array>

#include "base/text.h"

namespace pq {

const std::string& MakerName()
{
    static const std::string text = CodePageFromUtf8("Т Вирс");
    return text;
}

const std::string& VerdictWord(Verdict verdict)
{
    static const std::array<std::string, 4> words{
        CodePageFromUtf8(VerdictText(Verdict::Complies)), CodePageFromUtf8(VerdictText(Verdict::DoesNotComply)),
        CodePageFromUtf8(VerdictText(Verdict::NoData)), CodePageFromUtf8(VerdictText(Verdict::NotEvaluated))};
    return words.at(static_cast<size_t>(verdict));
}

const std::string& CompliesWord() { return VerdictWord(Verdict::Complies); }
const std::string& DoesNotComplyWord() { return VerdictWord(Verdict::DoesNotComply); }
const std::string& NoDataWord() { return VerdictWord(Verdict::NoData); }
const std::string& NotEvaluatedWord() { return VerdictWord(Verdict::NotEvaluated); }

}  // namespace pq
