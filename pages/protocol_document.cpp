#include "pages/protocol_document.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "base/text.h"
#include "html/escape.h"

namespace pq {

namespace {

// Where `tag` (lower case, e.g. "<body") next starts at or after `from`,
// in any letter case; npos when nowhere.
size_t FindTag(const std::string& text, const std::string& tag, size_t from = 0)
{
    const auto at = std::search(text.begin() + static_cast<std::ptrdiff_t>(std::min(from, text.size())), text.end(),
                                tag.begin(), tag.end(), [](char a, char b) {
                                    return std::tolower(static_cast<unsigned char>(a)) == b;
                                });
    return at == text.end() ? std::string::npos : static_cast<size_t>(at - text.begin());
}

struct PageParts {
    std::vector<std::string> styles;
    std::string bodyClass;
    std::string body;
};

// The value of the class attribute of the tag text `tag` ("<body class=...>").
std::string ClassOf(const std::string& tag)
{
    const size_t at = FindTag(tag, "class=");
    if (at == std::string::npos)
        return std::string();
    size_t from = at + 6;
    const char quote = from < tag.size() ? tag[from] : 0;
    if (quote != '"' && quote != '\'')
        return std::string();
    const size_t end = tag.find(quote, ++from);
    return end == std::string::npos ? std::string() : tag.substr(from, end - from);
}

PageParts Split(const std::string& page)
{
    PageParts parts;
    const size_t bodyTag = FindTag(page, "<body");
    const size_t head = bodyTag == std::string::npos ? page.size() : bodyTag;
    for (size_t at = FindTag(page, "<style"); at < head; at = FindTag(page, "<style", at + 1)) {
        const size_t end = FindTag(page, "</style>", at);
        if (end == std::string::npos || end > head)
            break;
        parts.styles.push_back(page.substr(at, end + 8 - at));
    }
    if (bodyTag == std::string::npos) {
        parts.body = page;  // a page without a body element: all of it
        return parts;
    }
    const size_t open = page.find('>', bodyTag);
    if (open == std::string::npos)
        return parts;
    parts.bodyClass = ClassOf(page.substr(bodyTag, open - bodyTag));
    const size_t close = [&] {
        size_t last = std::string::npos;
        for (size_t at = FindTag(page, "</body", open); at != std::string::npos; at = FindTag(page, "</body", at + 1))
            last = at;
        return last == std::string::npos ? page.size() : last;
    }();
    parts.body = page.substr(open + 1, close - open - 1);
    return parts;
}

// Text for an attribute value or the title of the CP1251 document.
std::string Attribute(const std::string& cp1251) { return EscapeHtml(cp1251); }

}  // namespace

std::string ProtocolDocument(const std::vector<std::string>& pages, const ProtocolMetadata& metadata)
{
    std::string styles, bodies;
    std::set<std::string> seen;
    for (size_t i = 0; i < pages.size(); ++i) {
        PageParts parts = Split(pages[i]);
        for (const std::string& style : parts.styles)
            if (seen.insert(style).second)
                styles += style + "\n";
        const std::string part = "pq-part pq-part-" + std::to_string(i + 1) +
                                 (parts.bodyClass.empty() ? std::string() : " " + parts.bodyClass);
        bodies += "<div class=\"" + Attribute(part) + "\">" + parts.body + "</div>\n";
    }
    return "<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n"
           "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">\n<title>" +
           Attribute(metadata.title) + "</title>\n<meta name=\"generator\" content=\"" + Attribute(metadata.generator) +
           "\">\n<meta name=\"dcterms.created\" content=\"" + Attribute(metadata.created) +
           "\">\n<meta name=\"dcterms.modified\" content=\"" + Attribute(metadata.created) + "\">\n" + styles +
           "<style type=\"text/css\">\n"
           "@page {\n"
           "  @top-left { content: string(pq-identity); font-size: 7.5pt; vertical-align: bottom; }\n"
           "  @top-right { content: string(pq-part); font-size: 7.5pt; vertical-align: bottom; }\n"
           "  @bottom-right { content: \"" +
           Cp("Лист ") + "\" counter(page) \"" + Cp(" из ") +
           "\" counter(pages); font-size: 8pt; }\n}\n"
           ".pq-part { margin: 0; padding: 0; }\n"
           ".pq-part + .pq-part { break-before: page; }\n"
           "</style>\n</head>\n<body>\n" +
           bodies + "</body>\n</html>\n";
}

}  // namespace pq
