// Hidden options that save pictures of the forms, for the documentation and for checking
// the layout without a display.
#pragma once

#include <string>
#include <vector>

// True when args ask for a screenshot (--screenshot-form or --screenshot-about).
bool isScreenshotRequest(const std::vector<std::string>& args);

// --screenshot-form OUT.png [FILE]: the editor form, with FILE opened when given.
// --screenshot-about OUT.png: the About form.
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise. Returns the exit status.
int makeScreenshot(int argc, char** argv, const std::vector<std::string>& args);
