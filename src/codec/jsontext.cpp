#include "codec/jsontext.h"

namespace fw {

std::string JsonString(std::string_view text) {
    constexpr char kHex[] = "0123456789abcdef";
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                quoted += "\\\"";
                break;
            case '\\':
                quoted += "\\\\";
                break;
            case '\n':
                quoted += "\\n";
                break;
            case '\r':
                quoted += "\\r";
                break;
            case '\t':
                quoted += "\\t";
                break;
            default:
                if (byte < 0x20 || byte == 0x7f) {
                    quoted += "\\u00";
                    quoted += kHex[byte >> 4];
                    quoted += kHex[byte & 15];
                } else {
                    quoted += c;
                }
        }
    }
    return quoted + "\"";
}

}  // namespace fw
