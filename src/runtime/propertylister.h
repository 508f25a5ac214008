#pragma once
// PropertyLister: the published properties of one live object as text, in four
// aligned lists (names, type names, value texts, type kinds), and the way back from
// text to a property value. The object tree's live lookups, the preview's node
// resolution and the inspector trees all read an object through it.

#include <bitset>
#include <exception>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "metadata.h"
#include "object.h"

namespace fw::rt {

// A set of type kinds, indexed by TypeKind.
using TTypeKinds = std::bitset<TypeKindCount>;

// Every one of the 18 kinds.
TTypeKinds AllTypeKinds();

// The published properties of a class whose kind is in a filter, sorted by name
// ignoring case. The descriptors point into the class's metadata and stay valid as long
// as its registry.
class TPropInfoList {
public:
    TPropInfoList() = default;
    TPropInfoList(const Class& cls, const TTypeKinds& kinds);

    const std::vector<const Property*>& Items() const { return items_; }
    int Count() const { return static_cast<int>(items_.size()); }
    // The descriptor of that name, ignoring ASCII case, or nullptr.
    const Property* Find(std::string_view name) const;

private:
    std::vector<const Property*> items_;
};

class PropertyLister {
public:
    // Called when setting a property from text fails, with the inspector and the error.
    using ExceptionEvent = std::function<void(PropertyLister& sender, const std::exception& error)>;

    // owner: the component the inspector belongs to, the reference base for objects
    // that are not components; may be nullptr (the document window is no component).
    // application: the component that owns the top-level forms, where "Form2.Button1"
    // looks for Form2; may be nullptr, and then such names find nothing.
    explicit PropertyLister(Object* owner = nullptr, Object* application = nullptr);

    // Published properties of the inspector itself.
    // A fixed information text; assigning to it has no effect.
    const std::string& About() const { return about_; }
    void SetAbout(std::string_view) {}
    // The kinds of property that are listed; all 18 unless changed.
    const TTypeKinds& Filter() const { return filter_; }
    void SetFilter(const TTypeKinds& kinds) { filter_ = kinds; }
    const ExceptionEvent& OnException() const { return onException_; }
    void SetOnException(ExceptionEvent handler) { onException_ = std::move(handler); }

    Object* Owner() const { return owner_; }
    Object* Application() const { return application_; }
    void SetApplication(Object* application) { application_ = application; }
    // The decimal separator of floating-point values, both ways: the user's locale's.
    char DecimalSeparator() const { return decimalSeparator_; }
    void SetDecimalSeparator(char separator) { decimalSeparator_ = separator; }

    // The object last given to Inspect, or nullptr.
    Object* InspectorTarget() const { return target_; }
    // The component that references are shortened relative to and resolved against:
    // - for an object that is not a component (and for none), the inspector's owner;
    // - for a component owned by the application object, or owned by nothing (a
    //   top-level form the caller made without an application object), the component
    //   itself;
    // - for any other component, its owner.
    Object* ReferenceBase() const { return referenceBase_; }

    // The target's descriptors whose kind is in Filter, sorted by name.
    const TPropInfoList& PropList() const { return propList_; }
    // The listed properties, aligned by index: those whose value gave at least one line.
    const std::vector<std::string>& PropNames() const { return propNames_; }
    const std::vector<std::string>& PropTypes() const { return propTypes_; }
    // One line of value text, or "(TStrings)" for a value of several lines.
    const std::vector<std::string>& PropValues() const { return propValues_; }
    // The type kind numbers 0 to 17 in decimal.
    const std::vector<std::string>& PropKinds() const { return propKinds_; }

    // Makes object the target and sets ReferenceBase. For an object, rebuilds the
    // descriptor list and the four lists; for nullptr, leaves them as they were, so they
    // must not be read until the next object is inspected. Never throws for a value
    // that cannot be read: that property is left out.
    void Inspect(Object* object);

    // The target's descriptor of that name from the descriptor list, ignoring case;
    // nullptr when there is none or no target.
    const Property* FindProp(std::string_view name) const;

    // The lines of text that show a property's current value on the target (empty for
    // kinds that are never shown, an empty string list, no object, or a value that
    // cannot be read). Never throws.
    std::vector<std::string> ValueLines(const Property& property) const;

    // Sets the target's property from lines of text, by the property's kind. Returns
    // false when there is no such property or lines is empty, else true, also when the
    // write failed: a failure is handed to OnException when set, else dropped, and the
    // property keeps its value.
    bool SetPropFromLines(std::string_view name, const std::vector<std::string>& lines);
    // Writes text to the named property of a string kind (a property of another kind
    // is left alone). Returns whether the property exists.
    bool SetStrPropByName(std::string_view name, std::string_view text);
    // Writes a method value to the named event (a property of another kind is left
    // alone). Returns whether the property exists.
    bool SetMethodPropByName(std::string_view name, const MethodValue& method);

private:
    std::vector<std::string> ReadLines(const Property& property) const;
    std::string ComponentText(const Object& component) const;
    void WriteFromLines(const Property& property, const std::vector<std::string>& lines);
    void WriteComponent(const Property& property, const std::string& line);
    void ReportError(const std::exception& error);

    std::string about_;
    TTypeKinds filter_;
    ExceptionEvent onException_;
    Object* owner_;
    Object* application_;
    char decimalSeparator_ = '.';

    Object* target_ = nullptr;
    Object* referenceBase_ = nullptr;
    TPropInfoList propList_;
    std::vector<std::string> propNames_;
    std::vector<std::string> propTypes_;
    std::vector<std::string> propValues_;
    std::vector<std::string> propKinds_;
};

}  // namespace fw::rt
