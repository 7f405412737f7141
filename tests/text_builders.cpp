#include "tests/text_builders.h"


std::string Repeat(const std::string& piece, size_t count)
{
    std::string s;
    s.reserve(piece.size() * count);
    for (size_t i = 0; i < count; ++i)
        s += piece;
    return s;
}

std::string MarkedTitleTemplate(int count)
{
    std::string t = "<html>";
    for (int k = 0; k < count; ++k)
        t += "|" + std::to_string(k) + "=##";
    return t + "|</html>";
}

std::string MarkedDayTemplate(int count, const std::string& rowMarker)
{
    const auto rowEnd = [](int k) { return k == 10 || k == 152 || k == 164 || k == 176; };
    std::string t = "<html>";
    for (int k = 0; k < count; ++k) {
        if (k > 0 && rowEnd(k - 1))
            t += "</td></tr></table>";
        if (k == 10)
            t += "<table><tr class=\"period\"><td>Friday##";
        else if (k == 147 || k == 159 || k == 171)
            t += "<table><tr class=\"h\"><td>" + rowMarker + "</td><td>##";
        else if ((k > 147 && k <= 152) || (k > 159 && k <= 164) || (k > 171 && k <= 176))
            t += "</td><td>##";
        else
            t += "|" + std::to_string(k) + "=##";
    }
    if (rowEnd(count - 1))
        t += "</td></tr></table>";
    return t + "|</html>";
}
