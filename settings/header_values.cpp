#include "settings/header_values.h"

#include <functional>
#include <vector>

#include <wx/log.h>
#include <wx/xml/xml.h>

#include "settings/date_parsing.h"
#include "base/text.h"

namespace pq {

namespace {

// How one element's value, as the document writes it, is stored.
struct Field {
    std::string name;
    std::function<void(ReportHeaderValues&, const wxString&)> store;
    bool alwaysStored = false;
    bool path = false;  // kept as written, not converted to CP1251
};

// Texts are kept in CP1251; a value that does not convert counts as missing.
void StoreText(std::string& field, const wxString& value)
{
    const std::string text = CodePageFromWx(value);
    if (!text.empty())
        field = text;
}

template <size_t N>
void AddList(std::vector<Field>& fields, std::array<std::string, N> ReportHeaderValues::*list,
             const std::string& prefix, int firstSuffix)
{
    for (size_t i = 0; i < N; ++i) {
        fields.push_back({prefix + std::to_string(firstSuffix + static_cast<int>(i)),
                          [list, i](ReportHeaderValues& r, const wxString& v) {
                              StoreText((r.*list)[i], v);
                          }});
    }
}

// Element names in the order of the record's fields; the first equal name decides.
const std::vector<Field>& Fields()
{
    static const std::vector<Field> fields = [] {
        using R = ReportHeaderValues;
        std::vector<Field> f;
        f.push_back({"CurrentPage",
                     [](R& r, const wxString& v) { r.CurrentPage = WholeNumber(CodePageFromWx(v)); }, true});
        AddList(f, &R::Header, "Header", 1);
        AddList(f, &R::LeftHeader, "LeftHeader", 1);
        AddList(f, &R::RightHeader, "RightHeader", 1);
        AddList(f, &R::Approve, "Approve", 1);
        AddList(f, &R::Main, "Main", 1);
        AddList(f, &R::Footer, "Footer", 1);
        AddList(f, &R::Page1_1, "Page1_1_", 0);
        AddList(f, &R::Page1_2, "Page1_2_", 0);
        AddList(f, &R::Page1_3, "Page1_3_", 0);
        f.push_back({"dt_begin", [](R& r, const wxString& v) {
                         const std::string text = CodePageFromWx(v);
                         wxDateTime parsed;
                         if (!text.empty() && ParseBeginDateTime(text, parsed))
                             r.dt_begin = parsed;
                     }});
        f.push_back({"n_Dayes", [](R& r, const wxString& v) { StoreText(r.n_Dayes, v); }});
        AddList(f, &R::Page1_5, "Page1_5_", 0);
        AddList(f, &R::Page1_6, "Page1_6_", 0);
        AddList(f, &R::Page1_7, "Page1_7_", 0);
        AddList(f, &R::Page1_8, "Page1_8_", 0);
        AddList(f, &R::att_Header, "att_Header_", 0);
        AddList(f, &R::dt_max_load_begin, "dt_max_load_begin_", 0);
        AddList(f, &R::dt_max_load_end, "dt_max_load_end_", 0);
        f.push_back({"Unom", [](R& r, const wxString& v) {
                         const std::string text = CodePageFromWx(v);
                         if (!text.empty())
                             r.Unom = WholeNumber(text);
                     }});
        // A path, not page text: kept as written.
        f.push_back({"DB",
                     [](R& r, const wxString& v) {
                         if (!v.empty())
                             r.DB = v;
                     },
                     false, true});
        f.push_back({"Export", [](R& r, const wxString& v) { StoreText(r.Export, v); }});
        f.push_back({"Evaluate", [](R& r, const wxString& v) { StoreText(r.Evaluate, v); }});
        return f;
    }();
    return fields;
}

// The first character of `value` that CP1251 lacks; 0 when it has them all.
wxUniChar MissingCharacter(const wxString& value)
{
    if (value.empty() || !CodePageFromWx(value).empty())
        return 0;
    for (wxString::const_iterator it = value.begin(); it != value.end(); ++it)
        if (CodePageFromWx(wxString(*it)).empty())
            return *it;
    return 0;
}

// Keeps a non-empty value under its element's name, over an earlier one.
void KeepText(ReportHeaderValues& record, const wxString& name, const wxString& value)
{
    if (value.empty())
        return;
    const wxScopedCharBuffer keyBytes = name.utf8_str(), textBytes = value.utf8_str();
    const std::string key(keyBytes.data(), keyBytes.length());
    const std::string text(textBytes.data(), textBytes.length());
    for (auto& kept : record.texts) {
        if (kept.first == key) {
            kept.second = text;
            return;
        }
    }
    record.texts.emplace_back(key, text);
}

}  // namespace

void ReadReportData(const wxXmlNode* element, ReportHeaderValues& record, Notes& notes)
{
    if (!element)
        return;
    for (const wxXmlNode* child = element->GetChildren(); child; child = child->GetNext()) {
        if (child->GetType() != wxXML_ELEMENT_NODE)
            continue;
        const wxString name = child->GetName();
        KeepText(record, name, child->GetAttribute("Value", wxString()));
        for (const Field& field : Fields()) {
            if (name != wxString::FromUTF8(field.name.c_str()))
                continue;
            const wxString value =
                child->GetAttribute("Value", field.alwaysStored ? wxString("0") : wxString());
            field.store(record, value);
            // The value is read as missing, as before; a line of the pages must not vanish unnoticed.
            const wxUniChar missing = field.path ? wxUniChar(0) : MissingCharacter(value);
            if (missing != 0)
                notes.Warning(wxString::Format(
                    "The value of %s holds U+%04X, a character that CP1251 lacks; it counts as missing.", name,
                    static_cast<unsigned>(missing.GetValue())));
            break;
        }
    }
}

}  // namespace pq
