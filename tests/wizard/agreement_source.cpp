// Independent reading of the agreement payloads for the wizard tests.
#include "wizard/agreement_source.h"

#include <windows.h>
#include <zlib.h>

#include "install/payload.h"

// The stored stream comes from the payload store; the inflating and the
// reading of lines are this file's own.
std::string InflatedPayload(int identifier) {
    const uint8_t* packed;
    uint32_t packedSize;
    if (!FindStoredPayload(identifier, &packed, &packedSize)) {
        return "";
    }
    std::string text(1 << 20, '\0');
    uLongf length = text.size();
    if (uncompress(reinterpret_cast<Bytef*>(&text[0]), &length, packed, packedSize) != Z_OK) {
        return "";
    }
    text.resize(length);
    return text;
}

std::vector<std::string> CrLfLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}
