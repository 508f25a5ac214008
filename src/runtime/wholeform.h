#pragma once
// Building a form whole: an inherited form over the forms it descends from, and the
// frames its inline objects stand for, read from their own form files as the
// component library's streaming reads them. Also what kind of root (form, frame, data
// module) the form text is built as.

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/codepage.h"
#include "formsource.h"
#include "object.h"
#include "reader.h"
#include "registry.h"

namespace fw::rt {

// Where the objects and values of a form built whole came from.
struct BuildOrigins {
    // The files read: Files[0] is the form's own text (Path empty); then each ancestor
    // or frame file, in reading order (a file read twice, as a frame used twice, is
    // listed once).
    std::vector<std::string> Files;
    // Per object: the file whose record created it, and per property path as written
    // ("Font.Height", "Caption") the file that set it last. Objects not listed are the
    // text's own (file 0).
    struct ObjectOrigin {
        int File = 0;
        std::vector<std::pair<std::string, int>> Properties;
    };
    std::unordered_map<const Object*, ObjectOrigin> Objects;

    // The file whose record created the object; 0 when it is not listed.
    int FileOf(const Object& object) const;
    // The file that set the property path last, ignoring ASCII case; -1 when no file set
    // it (it has its default).
    int FileOfProperty(const Object& object, std::string_view path) const;
};

enum class RootBase { Form, Frame, DataModule };

// What the root of the form text is built as: its class's ancestry by the registry,
// else the declared ancestors and the ancestor files through source (may be null), else
// what the text stores: a form stores its Caption, client size, text height or border,
// which frames and data modules never write; a frame writes a control's TabOrder,
// TabStop, focus events or Parent... flags, which forms do not publish; a data module
// writes OldCreateOrder, or its Height before its Width. Anything else is a form.
RootBase RootBaseOf(std::string_view text, const ClassRegistry& registry, FormFileSource* source);

// The guess from what the text stores alone, as RootBaseOf makes it last.
RootBase StoredRootBaseOf(std::string_view text);

// The class name on the first line of form text ("object Form1: TForm1" gives TForm1);
// empty when the line names none.
std::string RootClassOf(std::string_view text);

// The most files an inherited form and its frames may be read through, the form's own
// text included: deeper is a message, never a stack overflow.
inline constexpr int MaxFormNesting = 16;

// The reading of other form files behind one build of form text given a source
// (BuildFormFromText uses it): the ancestors of the root, read into it before the
// text, and the frames of inline objects, read as the reader meets them, each file
// with its own declared code page (else the build's). Files found are kept for the
// build, so a frame used twice is searched for and converted once. Messages about the
// files name the file: "ERROR=in base.dfm: Class TFoo not found".
class WholeFormReading {
public:
    WholeFormReading(ClassRegistry& registry, const CodePage& codePage, FormFileSource& source,
                     BuildOrigins* origins);
    ~WholeFormReading();
    WholeFormReading(const WholeFormReading&) = delete;
    WholeFormReading& operator=(const WholeFormReading&) = delete;

    // Reads the form files of the text's root class's ancestors into root, the most
    // basic first. The text itself is read afterwards by the caller.
    void ReadAncestors(Object& root, std::string_view text);
    // The hooks of a read: every recoverable error becomes "ERROR=" + message in texts
    // and is handled, inline objects are made from their frames' files, and the
    // properties taken are noted in the origins. The read starts at startDepth.
    std::unique_ptr<ReaderHooks> Hooks(std::vector<std::string>& texts, int startDepth = 0);
    // The messages about other files so far ("KIND=text"), moved out.
    std::vector<std::string> TakeMessages();

    // What one build keeps (wholeform.cpp).
    struct State;

private:
    std::unique_ptr<State> state_;
};

}  // namespace fw::rt
