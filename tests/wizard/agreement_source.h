// The agreement texts as the test reads them itself: the payload resources of
// the test program inflated with zlib directly, and the Chinese text split at
// its CR LF line ends, as an oracle independent of the wizard's loader.
#pragma once
#include <string>
#include <vector>

// The inflated bytes of payload `identifier` of this program, or "" when it
// is missing or damaged.
std::string InflatedPayload(int identifier);
// The lines a reader sees in a CR LF text: everything before the last CR LF,
// cut at each CR LF.
std::vector<std::string> CrLfLines(const std::string& text);
