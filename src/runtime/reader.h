#pragma once
// The form reader: turns a binary form stream into live components under a root
// component the caller has created. Recoverable errors (an unknown class, an unknown
// property, a value of the wrong kind) go to a hook that may let reading go on; every
// other failure is raised.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/codepage.h"
#include "base/errors.h"
#include "base/stream.h"
#include "object.h"
#include "registry.h"

namespace fw::rt {

// What the caller decides while a form is read.
class ReaderHooks {
public:
    virtual ~ReaderHooks() = default;
    // A recoverable error with its message. Answer true to have the reader skip what
    // it could not take and go on; false (the default) makes it raise EReadError with
    // the message. The messages:
    //   Class TFoo not found                  the object is skipped with its children
    //   A component named X already exists   likewise
    //   Cannot create an instance of the abstract class TFoo   likewise
    //   Property Font.Foo does not exist      the value is skipped
    //   Error reading Button1.Width: Invalid property value    a value that does not
    //       fit; the reason may also be "Invalid property path", "Bitmap image is not
    //       valid" or "Icon image is not valid"
    virtual bool ErrorHook(const std::string& message);
    // The code address of the form's method named methodName, for an event. error
    // comes in true (a plain form has no methods of its own); an answer without an
    // address that leaves it true is an error, one that clears it leaves the event
    // unassigned without a word. The default answers no address.
    virtual std::optional<std::uintptr_t> MethodLookupHook(const std::string& methodName, bool& error);
    // An inline object (a frame) of className that is not there yet, about to be made
    // at nesting depth. Answer the object made (and filled from the frame's own form,
    // its components owned by it), which the reader then names, places and reads the
    // record's values and objects over; or nullptr (the default) to have the reader
    // make it from its class as any other object.
    virtual ObjectPtr InlineHook(const std::string& className, const std::string& name, int depth);
    // A property entry was taken into object (a component, or a collection item) under
    // its path as written ("Font.Height"). The default does nothing.
    virtual void PropertyHook(const Object& object, const std::string& path);
    // The nesting depth the read starts at: a form read into an object of another form
    // being read counts the outer levels, so that frames within frames stay within the
    // reader's limit. The default is 0.
    virtual int StartDepth() const;
};

// The names of the application's forms. A form read under a name another form already
// has is renamed "%s_%d" (1, 2, ...); references such as Form2.ImageList1 are
// resolved against the forms listed. The reader adds the form it reads; whoever
// destroys a form removes it.
class FormNames {
public:
    // Whether a form has the name, ignoring ASCII case.
    bool Has(std::string_view name) const;
    // The form of that name, ignoring ASCII case; nullptr when none (or only a name).
    Object* Find(std::string_view name) const;
    // Adds a name, with the form that has it (nullptr for a name alone).
    void Add(std::string name, Object* form = nullptr);
    // Forgets the form, by the form.
    void Remove(const Object* form);

private:
    std::vector<std::pair<std::string, Object*>> forms_;
};

// A recoverable error, with where it arose.
struct ReadIssue {
    std::string ClassName;  // the class of the object whose entry it was, or the class not found
    std::string Context;    // the component's name (Button1), an item's place (ListView1.Columns[0])
    std::string Path;       // the property path as written; empty for an object's own error
    std::string Message;    // as given to the hook
    int Record = -1;        // the entry of ReadSummary::Objects whose record it arose in
};

// An object record of the stream, as it was read.
struct ReadObject {
    int Parent = -1;         // the entry of the record it is written in; -1 for the root
    std::string Name;        // as written; empty for an unnamed object
    std::string ClassName;   // as written
    Object* Live = nullptr;  // what it became; nullptr when it was skipped (valid while root lives)
};

// Figures of one read.
struct ReadSummary {
    int ObjectsCreated = 0;         // components created (not the root, nor inherited ones found)
    int PropertiesSet = 0;          // property entries taken, values the classes write themselves included
    std::vector<ReadIssue> Issues;  // the recoverable errors passed to the hook, in order
    // Every object record met, skipped ones and those inside them included, in stream
    // order: the root first, each record before the ones written inside it. The records
    // inside one record keep their written order, so an object is found again by its
    // position among them even when it has no name.
    std::vector<ReadObject> Objects;
    // The entry of the record being read when reading stopped with an error; -1 when
    // it did not, or stopped before the root's header.
    int StoppedIn = -1;
};

// Reads the binary form stream at the stream's position (it begins with "TPF0") into
// root:
// - the root's class name is skipped; the root takes the written name, made unique
//   against taken, and is added to taken;
// - the root's properties are set, then each child object is created by its class
//   name through the registry, owned by the root (by an inline component for the
//   objects inside it), parented to the enclosing windowed control (a menu item or
//   field to its menu, item or dataset), and filled; an inherited object is looked up
//   by name among the owner's components, and made from its class when it is not
//   there, as when a plain form stands in for a descendant form;
// - values the classes write themselves (storedvalues.h) go into the objects;
// - component references are resolved once everything is read, and every component
//   read is marked loaded.
// Throws EReadError for a bad signature ("Invalid stream format"), a truncated or
// damaged stream, and for recoverable errors the hook did not handle. What was read
// before a failure stays in root, its references resolved.
ReadSummary ReadFormInto(Object& root, Stream& stream, ReaderHooks& hooks, ClassRegistry& registry,
                         const CodePage& codePage = CodePage::Default(), FormNames* taken = nullptr);
// The same, filling summary as reading goes, so that it tells what was read, and where
// reading stopped, also when the read throws.
void ReadFormInto(Object& root, Stream& stream, ReaderHooks& hooks, ClassRegistry& registry,
                  const CodePage& codePage, FormNames* taken, ReadSummary& summary);

// Reads the property entries of the binary form stream's root record into object, an
// object of the form root already read, as the reader takes them when it reads the
// whole form: the record's class and name are not taken (object keeps its own), object
// is not marked loaded again, and references are resolved from the component that owns
// object, then root. A record holding objects is refused with EReadError; errors are
// raised as by ReadFormInto, and the values taken before stay in object.
void ReadPropertiesInto(Object& object, Object& root, Stream& stream, ReaderHooks& hooks,
                        ClassRegistry& registry, const CodePage& codePage, FormNames* taken,
                        ReadSummary& summary);

}  // namespace fw::rt
