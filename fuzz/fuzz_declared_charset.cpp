// Fuzzes finding the code page a form declares, on any bytes as text, binary or
// resource form. Nothing may crash, hang, throw or trip a sanitizer, and:
//  - the page found is 0 or one the codec has, with at least one vote;
//  - the offset of the first byte outside a page lies inside the text.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base/codepage.h"
#include "codec/declaredcharset.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fw::Bytes form(data, data + size);
    const fw::DeclaredCodePage declared = fw::DeclaredCodePageOf(form);
    if (declared.CodePage != 0 && (fw::CodePage::Find(declared.CodePage) == nullptr || declared.Votes < 1))
        std::abort();
    if (declared.CodePage == 0 && (declared.Votes != 0 || declared.Conflicting)) std::abort();

    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const fw::CodePage& page = *fw::CodePage::Find(declared.CodePage != 0 ? declared.CodePage : 932);
    const std::size_t at = fw::FirstByteOutsideCodePage(text, page);
    if (at != std::string_view::npos && at >= size) std::abort();
    return 0;
}
