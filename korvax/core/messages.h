// The texts and captions of every message the scanner shows.
#pragma once

namespace korvax {

inline constexpr const char* kCaptionProblem = "Problem..";
inline constexpr const char* kCaptionError = "Error..";

inline constexpr const char* kMsgNoCdDrives =
    "You do not seem to have any CD-ROM drives installed in your computer.  If you think this "
    "might be incorrect, please e-mail the author with your system specification, so this "
    "situation may be rectified.";
inline constexpr const char* kMsgNoDisc =
    "None of your CD-ROM drives appear to contain a disc.  Please insert a Sega Saturn (tm) "
    "CD-ROM into any CD-ROM drive and re-select the 'Scan Sega Saturn (tm) CD' option from the "
    "'File' menu.";
inline constexpr const char* kMsgSelectDrive =
    "Please select a CD-ROM drive from the left-hand list to scan for Sega Saturn (tm) AIPs!";
inline constexpr const char* kMsgDriveNotReady =
    "The drive you have selected is not ready.  If you have removed the disc from the CD-ROM "
    "drive, please replace it now, and re-select the 'Scan Sega Saturn (tm) CD' option from the "
    "'File' menu.";
inline constexpr const char* kMsgDiscChanged =
    "The disc in the CD-ROM drive you have selected has been changed since the scan took place.  "
    "If you want to use the current disc, re-select the 'Scan Sega Saturn (tm) CD' option from "
    "the 'File' menu after closing the 'Explore a Sega Saturn (tm) CD' dialog window, or "
    "re-insert the original CD and press 'Scan for AIPs' again.";
inline constexpr const char* kMsgSelectAip = "Please select an AIP file to view, from the right-hand list.";
inline constexpr const char* kMsgAipOpenFault =
    "There was a fault whilst trying to open the selected AIP file. Try cleaning the CD, and "
    "re-inserting it.";
inline constexpr const char* kMsgAipReadFault =
    "There was a fault whilst trying to read the selected AIP file. Try cleaning the CD, and "
    "re-inserting it.";
inline constexpr const char* kMsgImageOpenFault =
    "The selected disc image could not be opened.  Please choose an ISO 9660 image (.iso, or "
    ".bin/.cue with 2352-byte sectors).";

} // namespace korvax
