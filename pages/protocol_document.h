#pragma once
// The whole protocol as one HTML document, for its PDF: each page's styles
// once, and each page's body as a part of the document, in order. The pages
// come assembled as parts (their running headers as strings of the part,
// see SheetStyle), so that one set of margin boxes names every sheet and
// "Лист N из M" counts over the whole.
#include <string>
#include <vector>

namespace pq {

struct ProtocolMetadata {
    std::string title;      // CP1251: the object and the period
    std::string generator;  // "pqreport 1.3.0"
    std::string created;    // "YYYY-MM-DDTHH:MM:SS"
};

// The document (CP1251 HTML) of `pages` (CP1251 HTML each, part 1, 2, ...).
// A page's <style> blocks before its <body> are taken once each; its body's
// class goes to its part's wrapper, so that the shipped templates' rules,
// which are scoped by it, keep to their part.
std::string ProtocolDocument(const std::vector<std::string>& pages, const ProtocolMetadata& metadata);

}  // namespace pq
