#pragma once
// The rows of the message list under the editor, worked out without widgets: each
// message of the last preview build with its kind's image, the object it is about and
// the line of the text it leads to.

#include <string>
#include <string_view>
#include <vector>

#include "document/objectscan.h"
#include "runtime/formbuild.h"

namespace fw {

struct MessageRow {
    std::string Caption;  // the message's text after its first "="
    int Image = -1;       // ImageError, ImageWarning or ImageInfo by the kind (ignoring case); -1 for another
    std::string Object;   // the object path (rt::ObjectPathText), "" when not known
    int Line = -1;        // the 0-based line of the text it leads to, -1 when not known
};

// The line of the text where a place of a build lies, found with the object tree's scan
// of the text: the line the place names itself; else the line that sets its property
// inside its object (a collection item's property inside that item); else the object's
// own line. The object is followed from the root by its position among the objects of
// each level, checked by name (by class for an unnamed one), and by name alone where
// the positions do not agree. -1 when the text has no such object.
int LineOfPlace(const Hierarchy& hierarchy, const std::vector<std::string_view>& lines,
                const rt::MessagePlace& place);

// The rows for the messages ("KIND=text") with their places (one each, in order) over
// the text's lines.
std::vector<MessageRow> MessageRows(const std::vector<std::string>& messages,
                                    const std::vector<rt::MessagePlace>& places,
                                    const std::vector<std::string_view>& lines);

}  // namespace fw
