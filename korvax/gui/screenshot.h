// A hidden option for documentation and checks: draws one window offscreen into a PNG file.
#pragma once

#include <string>
#include <vector>

namespace korvax {

// what: "main", "menu" (File menu open), "explore", "info" or "about". The images fill the
// drive list; "explore" and "info" scan the first image (else the first drive) and pick 0.BIN
// (else the first AIP). Returns the exit status.
int takeScreenshot(const std::string& what, const std::string& file, const std::vector<std::string>& images);

} // namespace korvax
