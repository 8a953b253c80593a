// The boot-loader tool: one complete firmware download over the serial port,
// called like a console program's main routine.
#pragma once

// The normalised image file the tool writes and sends, in the working
// directory.
inline constexpr char kImageFileName[] = "IhexSeg.hex";

// Runs a download with the options of `argv[1..argc-1]` (the vector ends with
// a null entry). Null on success, else the failure's text in the console's
// message buffer, valid until the next run.
const char* KelboMain(int argc, char** argv);
