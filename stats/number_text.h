#pragma once
// Numbers written as the pages show them, under the process locale.
#include <string>

#include "settings/text.h"

// A number under the process locale ("%f", "%04.2f", "%6.2f").
std::string FormatNumber(const char* format, double value);

// Rewrites every slot as "%04.2f" of its value.
void FinalFormatting(TextList& record);
