#pragma once
// Where the form files of other classes come from when a form is built whole: the
// ancestor of an inherited form and the frames its inline objects stand for. The
// builder asks; a source that searches folders answers (formsearch.h), tests answer
// from memory.

#include <optional>
#include <string>
#include <string_view>

#include "base/stream.h"

namespace fw::rt {

// A form file found for a class: where it is, and all of its bytes (any of the three
// encodings).
struct FormFile {
    std::string Path;
    Bytes Content;
};

class FormFileSource {
public:
    virtual ~FormFileSource() = default;
    // The form file whose root object is of class className, compared ignoring ASCII
    // case; nullopt when there is none.
    virtual std::optional<FormFile> FindFormOfClass(std::string_view className) = 0;
    // The ancestor a source declaration gives className ("TFmMain = class(TBaseForm)"
    // gives TBaseForm for TFmMain); empty when none is known.
    virtual std::string DeclaredAncestorOf(std::string_view className) = 0;
    // The places searched, for messages: "Ancestor form TBaseForm not found; searched: "
    // followed by this text (folders joined with ", ").
    virtual std::string SearchedText() const = 0;
};

}  // namespace fw::rt
