#pragma once
// How a control is drawn, and how the editor names its class for the user.

#include <string>

#include "runtime/object.h"

namespace fw::preview {

// How a control is drawn: by the maker of its own class, of its nearest registered
// ancestor, of the built-in class a stand-in borrows its look from, or as the framed
// box of last resort.
struct DrawnLook {
    enum class Kind { Native, Ancestor, Lookalike, Placeholder };
    Kind How = Kind::Placeholder;
    std::string DrawnAs;  // the class whose maker draws it; empty for the framed box
};

// The class of an object as the inspector and the status line name it: the class
// name, followed by "(drawn as TPanel)" when another class's look draws it and by
// "(not registered)" for a stand-in that nothing draws but the framed box. Without a
// look (an object the preview does not draw) only a stand-in gets a note.
std::string ClassLineText(const rt::Object& object, const DrawnLook* look = nullptr);

}  // namespace fw::preview
