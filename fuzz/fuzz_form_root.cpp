// Fuzzes reading a form file's root from its first bytes, and the scan for class
// declarations in Pascal and C++ sources, on any bytes. Nothing may crash, hang, throw
// or trip a sanitizer, and:
//  - a root found has a class name;
//  - the same bytes cut short (with more said to follow) give either "need more" or the
//    same root, and a root found in the cut bytes is the root of the whole;
//  - every declaration found names a class and an ancestor.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "runtime/classdeclarations.h"
#include "runtime/formsearch.h"

namespace {

bool SameRoot(const fw::rt::FormRoot& a, const fw::rt::FormRoot& b) {
    return a.ClassName == b.ClassName && a.ObjectName == b.ObjectName && a.Keyword == b.Keyword;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using fw::rt::RootReadResult;
    const fw::ByteSpan bytes(data, size);
    fw::rt::FormRoot whole;
    const RootReadResult wholeResult = fw::rt::ReadFormRoot(bytes, true, whole);
    if (wholeResult == RootReadResult::NeedMore) std::abort();
    if (wholeResult == RootReadResult::Found && whole.ClassName.empty()) std::abort();

    // A cut chosen by the input itself, so that the fuzzer can steer it.
    if (size > 0) {
        const std::size_t cut = data[size - 1] % size;
        fw::rt::FormRoot part;
        const RootReadResult partResult = fw::rt::ReadFormRoot(bytes.first(cut), false, part);
        if (partResult == RootReadResult::Found &&
            (wholeResult != RootReadResult::Found || !SameRoot(part, whole)))
            std::abort();
        if (wholeResult == RootReadResult::Found && partResult == RootReadResult::NotAForm) std::abort();
    }

    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const auto language : {fw::rt::SourceLanguage::Pascal, fw::rt::SourceLanguage::Cpp}) {
        for (const fw::rt::ClassDeclaration& declaration : fw::rt::ScanClassDeclarations(text, language))
            if (declaration.Name.empty() || declaration.Ancestor.empty()) std::abort();
    }
    return 0;
}
