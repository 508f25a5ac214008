#pragma once
// Building a live form from form text the way the preview does, without a screen: the
// conversion, the reader with hooks that collect every complaint as a message instead of
// stopping, and the settings that keep the preview a normal window.

#include <string>
#include <string_view>
#include <vector>

#include "base/codepage.h"
#include "object.h"
#include "reader.h"
#include "wholeform.h"

namespace fw::rt {

// Makes a built form root show as a normal, sizeable window among others: its
// ActiveControl is cleared, its FormStyle becomes fsNormal and its BorderStyle
// bsSizeable, where the root has them. Returns the BorderStyle it had (the frame the
// preview draws while the layout runs as a sizeable window); empty for a root without one.
std::string MakeNormalWindow(Object& root);

// Whether a reader's complaint is about a value of the root's ActiveControl, FormStyle
// or BorderStyle, which a build does not report: the preview sets them itself.
bool IsWindowSettingIssue(const ReadIssue& issue);

// The hooks of a preview build: every recoverable error becomes "ERROR=" + message and
// is handled; every event stays unassigned without an error.
class MessageCollectingHooks : public ReaderHooks {
public:
    explicit MessageCollectingHooks(std::vector<std::string>& messages) : messages_(messages) {}
    bool ErrorHook(const std::string& message) override;
    std::optional<std::uintptr_t> MethodLookupHook(const std::string& methodName, bool& error) override;

private:
    std::vector<std::string>& messages_;
};

// Where a message of a build arose, as far as the build knows it.
struct MessagePlace {
    // One object on the way from the root to the one the message is about.
    struct Step {
        std::string Name;       // as written; empty for an unnamed object
        std::string ClassName;  // as written
        int Position = 0;       // among the objects written directly inside the one above; 0 for the root
    };
    // From the root down; empty when the message is not about an object.
    std::vector<Step> Objects;
    // The property within the last object, as written ("Font.Height"), a collection item's
    // one after the item's place ("Columns[2].Caption"); empty for the object itself.
    std::string Property;
    // The 1-based line of the text the message names itself (a syntax error); 0 for none.
    int Line = 0;
};

// The objects of a place as a dotted path of names, an unnamed object as its class in
// parentheses: "Form1.Panel1.Button1", "Form1.(TLabel)". Empty for no objects.
std::string ObjectPathText(const MessagePlace& place);

// A message of a build: the "KIND=text" line and where it arose.
struct BuildMessage {
    std::string Text;
    MessagePlace Place;
};

// Reads form text (the bytes a text form file holds) into root (a plain form the caller
// created). The messages of the build are appended to messages: one
// "ERROR=…" per recoverable error, and "ERROR=Reader: …" when the conversion or the
// reader stopped (what was read before stays in root). Never throws for bad text.
void BuildFormFromText(Object& root, std::string_view text, ClassRegistry& registry, const CodePage& codePage,
                       std::vector<std::string>& messages, FormNames* taken = nullptr);
// The same, with each message's place: the object the reader was at, and the property,
// for a reader's message; the line, in the lines as given, for a syntax error. The
// object records read go to objects when given (see ReadSummary::Objects); they point
// into root.
void BuildFormFromText(Object& root, std::string_view text, ClassRegistry& registry, const CodePage& codePage,
                       std::vector<BuildMessage>& messages, FormNames* taken,
                       std::vector<ReadObject>* objects = nullptr, FormFileSource* source = nullptr,
                       BuildOrigins* origins = nullptr);

// Reads values written as form text into object, an object of the form root already
// built, as a build would have read them: text is one object record of property lines
// ("object Button1: TButton\r\n  Caption = 'OK'\r\nend\r\n"), whose class and name are
// not taken. Returns false, with the converter's or the reader's message in error, when
// the text does not convert, holds objects, or a value is refused; the values read before
// then stay in object. Action links are applied again over the form.
bool ReadPropertiesInto(Object& object, Object& root, std::string_view text, ClassRegistry& registry,
                        const CodePage& codePage, std::string& error, FormNames* taken = nullptr);

}  // namespace fw::rt
