#pragma once
// The report header values: everything the ReportData element of the settings
// document carries.
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <wx/datetime.h>

#include "base/whole_number.h"
#include "model/notes.h"

class wxXmlNode;

namespace pq {

struct ReportHeaderValues {
    int32_t CurrentPage = 0;
    std::array<std::string, 4> Header;
    std::array<std::string, 5> LeftHeader;
    std::array<std::string, 4> RightHeader;
    std::array<std::string, 3> Approve;
    std::array<std::string, 4> Main;
    std::array<std::string, 2> Footer;
    std::array<std::string, 2> Page1_1;
    std::array<std::string, 1> Page1_2;
    std::array<std::string, 3> Page1_3;
    wxDateTime dt_begin;  // unset until a well-formed value is read
    std::string n_Dayes;
    std::array<std::string, 1> Page1_5;
    std::array<std::string, 4> Page1_6;
    std::array<std::string, 6> Page1_7;
    std::array<std::string, 1> Page1_8;
    std::array<std::string, 4> att_Header;
    std::array<std::string, 7> dt_max_load_begin;
    std::array<std::string, 7> dt_max_load_end;
    int32_t Unom = 0;
    // A path, not page text: kept as written, whatever characters it holds.
    wxString DB;
    // The files the run writes besides the pages: a list of words (Export).
    std::string Export;
    // The standards evaluated besides the day pages' own: a list of words (Evaluate).
    std::string Evaluate;
    // Every child of ReportData with a non-empty Value, known or not, by
    // element name in the order first met, as the document wrote it (UTF-8);
    // a later non-empty value replaces an earlier one.
    std::vector<std::pair<std::string, std::string>> texts;
};

// Reads one ReportData element into `record`: each known child's value is
// stored over what an earlier element gave. A value with a character that
// CP1251 lacks counts as missing, with a warning in `notes`.
void ReadReportData(const wxXmlNode* element, ReportHeaderValues& record, Notes& notes);

}  // namespace pq
