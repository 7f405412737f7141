#include "report/fixed_texts.h"

#include "settings/text.h"

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
