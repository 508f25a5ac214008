// Fuzzes the reading of a look-alike table from arbitrary bytes, then asks the table
// for a few class names and for names taken from the input itself. Reading reports bad
// lines and goes on; it must never crash, hang, leak or trip a sanitizer, and every
// error it reports must name a line of the input.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "runtime/lookalike.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<fw::rt::LookalikeError> errors;
    fw::rt::LookalikeTable table = fw::rt::LookalikeTable::Parse(text, errors);
    const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    for (const fw::rt::LookalikeError& e : errors)
        if (e.Line < 1 || e.Line > lines || e.Message.empty()) std::abort();
    for (const std::string_view name : {"TButton", "", "T", "TRzPanel", "tcxgriddbtableview"})
        (void)table.DrawnAs(name);
    (void)table.DrawnAs(text.substr(0, 64));
    table.Prepend(table);
    (void)table.DrawnAs(text.substr(size / 2));
    return 0;
}
