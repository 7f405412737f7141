#pragma once
// Texts the tests build, shared by the unit tests, the runs of the program
// and the fuzz seeds: a piece repeated, and page templates whose placeholders
// show their numbers.
#include <cstddef>
#include <string>

// `piece` `count` times over.
std::string Repeat(const std::string& piece, size_t count);

// Templates whose plain placeholders read "|k=##", so that the page shows
// "|k=<value k>". The title template has `count` of them.
std::string MarkedTitleTemplate(int count);
// A day template of `count` (>= 177) placeholders: the max-load period row at
// placeholder 10 and the three harmonic sample rows at 147..152, 159..164 and
// 171..176 as <tr class="h"> rows of six cells whose first piece carries
// `rowMarker` before them.
std::string MarkedDayTemplate(int count, const std::string& rowMarker = "Friday");
