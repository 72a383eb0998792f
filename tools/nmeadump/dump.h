// The nmeadump program as a function of its arguments and streams: reads a log line
// by line, prints one JSON object per accepted sentence (or with --gpx a GPX track)
// and a summary.
#pragma once

#include <iosfwd>

namespace orlimo {

// `args` without the program name. Returns the exit status: 0, 1 when FILE cannot
// be opened, 2 for a wrong command line (an unknown option, more than one FILE).
int RunNmeaDump(int argc, const char* const* args, std::istream& in, std::ostream& out,
                std::ostream& err);

}  // namespace orlimo
