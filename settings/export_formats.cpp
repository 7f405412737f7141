#include "settings/export_formats.h"

#include <cctype>
#include <utility>
#include <vector>

namespace pq {

namespace {

// Each word and the flag it sets.
const std::vector<std::pair<const char*, bool ExportFormats::*>>& Words()
{
    static const std::vector<std::pair<const char*, bool ExportFormats::*>> words{
        {"json", &ExportFormats::json},
        {"xlsx", &ExportFormats::xlsx},
        {"pdf", &ExportFormats::pdf},
    };
    return words;
}

bool Separator(char c) { return c == ',' || std::isspace(static_cast<unsigned char>(c)); }

}  // namespace

std::vector<std::string> ListWords(const std::string& list)
{
    std::vector<std::string> words;
    size_t i = 0;
    while (i < list.size()) {
        if (Separator(list[i])) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < list.size() && !Separator(list[end]))
            ++end;
        words.push_back(list.substr(i, end - i));
        i = end;
    }
    return words;
}

std::optional<ExportFormats> ParseExportFormats(const std::string& list, std::string& unknown)
{
    ExportFormats formats;
    for (const std::string& word : ListWords(list)) {
        bool known = false;
        for (const auto& w : Words()) {
            if (word == w.first) {
                formats.*w.second = true;
                known = true;
            }
        }
        if (!known) {
            unknown = word;
            return std::nullopt;
        }
    }
    return formats;
}

std::string KnownExportWords()
{
    std::string words;
    for (const auto& w : Words())
        words += (words.empty() ? "" : ", ") + std::string(w.first);
    return words;
}

}  // namespace pq
