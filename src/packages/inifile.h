#pragma once
// The few operations on ini files the package list needs, on text files of lines:
// "[Section]" headers, "key=value" entries, and comment lines beginning with ";" or
// "#". Section and key names are compared ignoring ASCII case; blanks around names and
// values are not part of them, and a value wrapped in double quotes is taken without
// them. Bytes are kept as they are (the file is UTF-8 by convention).

#include <string>
#include <string_view>
#include <vector>

#include "base/errors.h"

namespace fw::pkg {

// The ini file could not be written.
class EIniFileError : public fw::Exception {
public:
    using fw::Exception::Exception;
};

// Files larger than this are not read as ini files.
inline constexpr std::size_t MaxIniFileSize = std::size_t{16} << 20;

// The values of the entries of section, in the order of the file; lines of the section
// without "=" are skipped. Only the first section of that name counts, as the system
// reads such files. Empty when the file, or the section, is missing or the file is
// larger than MaxIniFileSize.
std::vector<std::string> ReadIniSectionValues(const std::string& file, std::string_view section);

// Replaces every section of that name with one holding the entries "0", "1", ... with
// values in order; the rest of the file is kept byte for byte, and a new section is
// added at the end. A value that would not read back as written (blanks at either end,
// or double quotes around it) is written in double quotes. The file is written whole
// to a temporary file beside it and renamed over it, its permissions kept; its folder is
// made when missing. Throws EIniFileError "Unable to write to <file>" on failure, the
// file then left as it was.
void WriteIniSectionList(const std::string& file, std::string_view section,
                         const std::vector<std::string>& values);

}  // namespace fw::pkg
