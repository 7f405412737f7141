#pragma once
// Process set-up shared by the fuzz targets.

// Starts the library once, switches to the report's locale, silences the log
// and turns the library's assertion messages into aborts, so that the fuzzer
// reports them.
void StartFuzzProcess();
