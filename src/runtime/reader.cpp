#include "reader.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <functional>

#include "base/codepage.h"
#include "codec/formformat.h"
#include "codec/formreader.h"
#include "graphicformat.h"
#include "storedvalues.h"

namespace fw::rt {

namespace {

bool IsInt32Tag(std::uint8_t tag) {
    return tag == TagInt8 || tag == TagInt16 || tag == TagInt32;
}
bool IsIntTag(std::uint8_t tag) {
    return IsInt32Tag(tag) || tag == TagInt64;
}
bool IsFloatTag(std::uint8_t tag) {
    return IsIntTag(tag) || tag == TagExtended || tag == TagDouble || tag == TagSingle ||
           tag == TagCurrency || tag == TagDate;
}
bool IsStringTag(std::uint8_t tag) {
    return tag == TagShortString || tag == TagLongString || tag == TagWideString || tag == TagUtf8String;
}
bool IsIdentTag(std::uint8_t tag) {
    return tag == TagIdent || tag == TagFalse || tag == TagTrue;
}

constexpr const char* InvalidValue = "Invalid property value";

// The ordinal of an enumeration value name, ignoring ASCII case; -1 when none.
int EnumOrdinal(const TypeInfo& type, std::string_view name) {
    for (std::size_t i = 0; i < type.EnumNames.size(); ++i)
        if (EqualsIgnoringCase(type.EnumNames[i], name)) return static_cast<int>(i);
    return -1;
}

// The component with that dotted name path below from: Frame1.Button1 is Button1 of
// Frame1.
Object* FindNested(Object* from, std::string_view path) {
    Object* current = from;
    while (current) {
        const std::size_t dot = path.find('.');
        current = current->FindOwnedComponent(path.substr(0, dot));
        if (dot == std::string_view::npos) return current;
        path.remove_prefix(dot + 1);
    }
    return nullptr;
}

// Whether candidate is ancestor itself or lies below it in a parent chain.
template <typename Up>
bool IsWithin(const Object* candidate, const Object* ancestor, Up up) {
    for (const Object* o = candidate; o; o = up(o))
        if (o == ancestor) return true;
    return false;
}

// Whether target is form or is owned by it, directly or not.
bool BelongsTo(const Object* target, const Object* form) {
    for (const Object* o = target; o; o = o->Owner())
        if (o == form) return true;
    return false;
}

// Calls visit on object, its owned sub-objects and collection items, all the way down.
template <typename Visit>
void ForEachInTree(Object& object, Visit&& visit) {
    visit(object);
    for (const Property& p : object.GetClass().Slots())
        if (const auto* sub = std::get_if<ObjectPtr>(&object.Get(p)); sub && *sub)
            ForEachInTree(**sub, visit);
    for (const ObjectPtr& item : object.Items())
        ForEachInTree(*item, visit);
}

// Empties every reference held in holder, its sub-objects, items and components (down
// through inline frames) that points at form or at a component form owns.
void ClearReferencesInto(Object& holder, const Object* form) {
    ForEachInTree(holder, [&](Object& o) {
        for (const Property& p : o.GetClass().Slots())
            if (const auto* ref = std::get_if<Object*>(&o.Get(p)); ref && *ref && BelongsTo(*ref, form))
                o.Set(p, Value(static_cast<Object*>(nullptr)));
    });
    for (const ObjectPtr& c : holder.Components())
        ClearReferencesInto(*c, form);
}

class TreeReader {
public:
    TreeReader(Object& root, Stream& stream, ReaderHooks& hooks, ClassRegistry& registry,
               const CodePage& codePage, FormNames* taken, ReadSummary& summary)
        : in_(stream, codePage),
          root_(root),
          hooks_(hooks),
          registry_(registry),
          taken_(taken),
          summary_(summary) {}

    void Run() {
        try {
            ReadRoot();
        } catch (...) {
            // The record being read stays current while an error unwinds the reading.
            summary_.StoppedIn = current_;
            Finish();
            throw;
        }
        Finish();
    }

    void RunProperties(Object& object) {
        try {
            in_.CheckSignature();
            in_.TakePrefix();
            const std::string className = in_.TakeName();
            const std::string name = in_.TakeName();
            current_ = AddRecord(name, className);
            summary_.Objects[static_cast<std::size_t>(current_)].Live = &object;
            Object* lookupRoot = object.Owner() ? object.Owner() : &root_;
            ReadProperties(object, ContextName(object), lookupRoot, hooks_.StartDepth());
            if (!in_.AtListEnd())
                throw EReadError("Invalid property value: an object where values were expected");
            in_.TakeTag();
        } catch (...) {
            summary_.StoppedIn = current_;
            ResolveFixups();
            throw;
        }
        ResolveFixups();
    }

private:
    struct Fixup {
        Object* Instance;
        const Property* Prop;
        std::string Name;
        Object* LookupRoot;  // the component the name is relative to: the form or an inline frame
    };

    void ReadRoot() {
        in_.CheckSignature();
        in_.TakePrefix();  // a root's flags mean nothing to the component it is read into
        const std::string className = in_.TakeName();  // the root's class is the caller's
        const std::string name = in_.TakeName();
        current_ = AddRecord(name, className);
        summary_.Objects[static_cast<std::size_t>(current_)].Live = &root_;
        if (taken_) taken_->Remove(&root_);
        root_.SetName(UniqueName(name));
        if (taken_ && !root_.Name().empty()) taken_->Add(root_.Name(), &root_);
        read_.push_back(&root_);
        const int depth = hooks_.StartDepth();
        CheckDepth(depth);
        ReadProperties(root_, ContextName(root_), &root_, depth);
        ReadChildren(&root_, &root_, depth + 1);
    }

    // The property entries of the stream's root record go into object, an object of
    // the form root_ already read: the record's class and name are not taken, and an
    // object record inside it is refused. References are resolved from the component
    // that owns object, as when the form was read; object is not marked loaded again.
    std::string UniqueName(const std::string& name) const {
        if (!taken_ || name.empty()) return name;
        std::string candidate = name;
        for (int i = 1; taken_->Has(candidate); ++i)
            candidate = name + "_" + std::to_string(i);
        return candidate;
    }

    // Notes an object record met inside the current one; returns its entry.
    int AddRecord(const std::string& name, const std::string& className) {
        summary_.Objects.push_back({current_, name, className, nullptr});
        return static_cast<int>(summary_.Objects.size()) - 1;
    }

    static std::string ContextName(const Object& object) {
        return object.Name().empty() ? std::string(object.ClassName()) : object.Name();
    }

    static void CheckDepth(int depth) {
        if (depth > MaxNestingDepth)
            throw EReadError("Invalid property value: objects or values nested too deeply");
    }

    // A recoverable error: the hook decides whether reading goes on.
    void Recoverable(const std::string& message, std::string_view className, std::string_view context,
                     std::string_view path = {}) {
        summary_.Issues.push_back(
            {std::string(className), std::string(context), std::string(path), message, current_});
        if (!hooks_.ErrorHook(message)) throw EReadError(message);
    }

    static std::string ErrorReading(const std::string& context, std::string_view path,
                                    std::string_view reason) {
        return "Error reading " + context + "." + std::string(path) + ": " + std::string(reason);
    }

    // Skips a value that does not fit and gives the reason to report.
    std::string SkipInvalid() {
        in_.SkipOneValue();
        return InvalidValue;
    }

    // ---------------------------------------------------------------------------
    // Objects

    void ReadChildren(Object* enclosing, Object* owner, int depth) {
        while (!in_.AtListEnd())
            ReadObject(enclosing, owner, depth);
        in_.TakeTag();
    }

    void ReadObject(Object* enclosing, Object* owner, int depth) {
        CheckDepth(depth);
        const ObjectPrefix prefix = in_.TakePrefix();
        const std::string className = in_.TakeName();
        const std::string name = in_.TakeName();
        // Not restored when an error unwinds: the record then tells where reading stopped.
        const int outer = current_;
        current_ = AddRecord(name, className);

        // An inherited object is the ancestor's, found by name. A plain form read in
        // place of the form's own class has no ancestor components: the object is then
        // made from its class, so that it and the objects inside it are not lost.
        Object* object = (prefix.Flags & FlagInherited) ? owner->FindOwnedComponent(name) : nullptr;
        // A frame found by name is the one an ancestor read inline: its components are
        // its own, whether or not this record repeats the inline flag.
        const bool inlineFrame =
            (prefix.Flags & FlagInline) || (object && object->InheritsFrom("TCustomFrame"));
        if (!object && (prefix.Flags & FlagInline) && !owner->FindOwnedComponent(name)) {
            if (ObjectPtr frame = hooks_.InlineHook(className, name, depth)) {
                object = owner->AddComponent(std::move(frame));
                object->SetName(name);
                ++summary_.ObjectsCreated;
            }
        }
        if (!object) {
            const Class* cls = registry_.FindClassByName(className);
            std::string skipped;
            ObjectPtr made;
            if (!cls) {
                // Reported, and when reading goes on the object is kept as a stand-in
                // with everything it stores and the objects inside it.
                Recoverable("Class " + className + " not found", className, name);
                if (owner->FindOwnedComponent(name)) {
                    Recoverable("A component named " + name + " already exists", className, name);
                    SkipObjectBody(depth);
                    current_ = outer;
                    return;
                }
                ReadStandIn(className, name, prefix, enclosing, owner, depth);
                current_ = outer;
                return;
            }
            if (!cls->Has(CfComponent))
                skipped = "Class " + className + " not found";
            else if (owner->FindOwnedComponent(name))
                skipped = "A component named " + name + " already exists";
            else if (!(made = CreateObject(*cls, registry_)))
                skipped = "Cannot create an instance of the abstract class " + className;
            if (!skipped.empty()) {
                Recoverable(skipped, className, name);
                SkipObjectBody(depth);
                current_ = outer;
                return;
            }
            object = owner->AddComponent(std::move(made));
            object->SetName(name);
            ++summary_.ObjectsCreated;
        }
        summary_.Objects[static_cast<std::size_t>(current_)].Live = object;
        read_.push_back(object);
        Attach(*object, enclosing, owner);

        // The components inside an inline frame belong to the frame, and the names in
        // its references, its own ones included, are the frame's.
        Object* innerOwner = inlineFrame ? object : owner;
        ReadProperties(*object, ContextName(*object), innerOwner, depth);
        ReadChildren(object, innerOwner, depth + 1);
        if (prefix.Flags & FlagChildPosition) PlaceAmongSiblings(*object, prefix.Position);
        current_ = outer;
    }

    // An object of a class the registry does not know. Its property entries are read
    // raw first; whether it is a control is told from them (a control stores its size
    // or alignment, a non-visual component only its designer position) or from the
    // records inside it being read next. Entries that fit a published property of the
    // stand-in's base are set as usual; every other one is kept in Unpublished() in
    // stream order, so nothing the text stores is lost.
    void ReadStandIn(const std::string& className, const std::string& name, const ObjectPrefix& prefix,
                     Object* enclosing, Object* owner, int depth) {
        std::vector<RawProperty> entries;
        while (!in_.AtListEnd()) {
            std::string path = in_.TakeName();
            entries.emplace_back(std::move(path), ReadRaw(depth + 1));
        }
        in_.TakeTag();
        bool width = false, height = false, aligned = false;
        bool placed = false;      // Left or Top stored: a control, or a component's designer position
        bool controlish = false;  // what only controls store
        for (const auto& [path, value] : entries) {
            width = width || EqualsIgnoringCase(path, "Width");
            height = height || EqualsIgnoringCase(path, "Height");
            aligned = aligned || EqualsIgnoringCase(path, "Align");
            if (EqualsIgnoringCase(path, "Left") || EqualsIgnoringCase(path, "Top")) placed = true;
            if (IsControlEntry(path)) controlish = true;
        }
        // A control stores its size or alignment; a popup component may store a width
        // of its own, but never with a place. A position with what only controls store
        // (a caption, a tab order, a font): a control that sizes itself, as an
        // auto-sized label. Records inside it without a stored size: a container whose
        // size is the default, unless it stores the position alone, as a non-visual
        // component does.
        bool visual = (width && height) || aligned || ((width || height) && placed);
        const bool holdsRecords = !in_.AtListEnd();
        if (!visual && placed && controlish) visual = true;
        if (!visual && !placed && holdsRecords) visual = true;
        // The look it borrows, if the registry's owner picks one: the stand-in then
        // descends from that class. A look that cannot hold controls is none for a
        // stand-in that has children, which would otherwise lose their parent.
        const Class* look = nullptr;
        if (visual && registry_.StandInLook()) {
            look = registry_.StandInLook()(className, entries, holdsRecords);
            if (look && holdsRecords && !look->Has(CfWinControl)) look = nullptr;
        }

        ObjectPtr made = CreateObject(registry_.StandInClass(className, visual, look), registry_);
        Object* object = owner->AddComponent(std::move(made));
        object->SetName(name);
        ++summary_.ObjectsCreated;
        summary_.Objects[static_cast<std::size_t>(current_)].Live = object;
        read_.push_back(object);
        Attach(*object, enclosing, owner);
        Object* innerOwner = (prefix.Flags & FlagInline) ? object : owner;
        for (auto& entry : entries) {
            hooks_.PropertyHook(*object, entry.first);
            if (!ApplyRaw(*object, entry.first, entry.second, innerOwner))
                object->Unpublished().push_back(std::move(entry));
        }

        ReadChildren(object, innerOwner, depth + 1);
        if (prefix.Flags & FlagChildPosition) PlaceAmongSiblings(*object, prefix.Position);
    }

    // Whether a stored property is one that controls store and non-visual components
    // do not: their text, tab order, font, colours, visibility, anchoring and the
    // designer's explicit bounds.
    static bool IsControlEntry(std::string_view path) {
        static constexpr std::string_view Names[] = {
            "Caption",          "Text",         "TabOrder",    "TabStop",       "ParentFont",
            "ParentColor",      "Color",        "Visible",     "Anchors",       "AutoSize",
            "AlignWithMargins", "ExplicitLeft", "ExplicitTop", "ExplicitWidth", "ExplicitHeight",
            "ParentShowHint",   "Transparent"};
        for (std::string_view name : Names)
            if (EqualsIgnoringCase(path, name)) return true;
        for (std::string_view prefix : {"Font.", "Constraints.", "Margins."})
            if (path.size() > prefix.size() && EqualsIgnoringCase(path.substr(0, prefix.size()), prefix))
                return true;
        return false;
    }

    // Sets a raw entry on a published property of the stand-in (through owned
    // sub-objects for a dotted path) when its kind fits; false when it does not.
    bool ApplyRaw(Object& object, std::string_view path, const RawValue& value, Object* lookupRoot) {
        Object* target = &object;
        for (std::size_t dot = path.find('.'); dot != std::string_view::npos; dot = path.find('.')) {
            const Property* p = target->FindProperty(path.substr(0, dot));
            Object* sub = p && p->Kind() == TypeKind::tkClass && p->Info->Holding == PropHolding::Owned
                              ? target->ObjectValue(*p)
                              : nullptr;
            if (!sub) return false;
            target = sub;
            path.remove_prefix(dot + 1);
        }
        const Property* p = target->FindProperty(path);
        if (!p) return false;
        switch (p->Type().Kind) {
            case TypeKind::tkInteger:
            case TypeKind::tkInt64:
                if (value.Type == RawValue::Kind::Identifier && p->Type().Kind == TypeKind::tkInteger) {
                    // A named value, as clBtnFace or crHandPoint.
                    for (const IdentEntry& e : p->Type().Idents)
                        if (EqualsIgnoringCase(e.Name, value.Text)) {
                            target->Set(*p, Value(e.Value));
                            return true;
                        }
                    return false;
                }
                if (value.Type != RawValue::Kind::Integer) return false;
                if (p->Type().Kind == TypeKind::tkInteger &&
                    (value.Integer < INT32_MIN || value.Integer > INT32_MAX))
                    return false;
                target->Set(*p, Value(value.Integer));
                return true;
            case TypeKind::tkClass:
                // A reference by name, resolved with the others once the form is read.
                if (p->Info->Holding == PropHolding::Owned || value.Type != RawValue::Kind::Identifier)
                    return false;
                fixups_.push_back({target, p, value.Text, lookupRoot});
                return true;
            case TypeKind::tkSet: {
                if (value.Type != RawValue::Kind::Set) return false;
                std::int64_t mask = 0;
                for (const std::string& name : value.Names) {
                    const int ordinal = SetElementOrdinal(p->Type(), name);
                    if (ordinal < 0) return false;
                    mask |= std::int64_t{1} << ordinal;
                }
                target->Set(*p, Value(mask));
                return true;
            }
            case TypeKind::tkEnumeration: {
                if (value.Type != RawValue::Kind::Identifier) return false;
                const int ordinal = EnumOrdinal(p->Type(), value.Text);
                if (ordinal < 0) return false;
                target->Set(*p, Value(std::int64_t{ordinal}));
                return true;
            }
            case TypeKind::tkString:
            case TypeKind::tkLString:
            case TypeKind::tkWString:
                if (value.Type != RawValue::Kind::String) return false;
                target->Set(*p, Value(value.Text));
                return true;
            default:
                return false;
        }
    }

    // One value as the stream holds it, whatever its kind; strings as UTF-8.
    RawValue ReadRaw(int depth) {
        CheckDepth(depth);
        RawValue v;
        const std::uint8_t tag = in_.PeekTag();
        if (IsIntTag(tag)) {
            v.Type = RawValue::Kind::Integer;
            v.Integer = in_.TakeInt64();
        } else if (IsFloatTag(tag)) {
            v.Type = RawValue::Kind::Float;
            v.FloatForm = tag == TagSingle ? 's' : tag == TagCurrency ? 'c' : tag == TagDate ? 'd' : 'e';
            v.Float = TakeFloat();
        } else if (IsStringTag(tag)) {
            v.Type = RawValue::Kind::String;
            v.Text = Utf8TextFromUtf16(in_.TakeStringW());
        } else if (IsIdentTag(tag)) {
            v.Type = RawValue::Kind::Identifier;
            v.Text = in_.TakeIdentifier();
        } else if (tag == TagNil || tag == TagNull) {
            in_.TakeTag();
        } else if (tag == TagSet) {
            in_.TakeTag();
            v.Type = RawValue::Kind::Set;
            for (std::string n = in_.TakeName(); !n.empty(); n = in_.TakeName())
                v.Names.push_back(std::move(n));
        } else if (tag == TagList) {
            in_.TakeTag();
            v.Type = RawValue::Kind::List;
            while (!in_.AtListEnd())
                v.List.push_back(ReadRaw(depth + 1));
            in_.TakeTag();
        } else if (tag == TagBinary) {
            v.Type = RawValue::Kind::Binary;
            v.Bytes = in_.TakeBinary();
        } else if (tag == TagCollection) {
            in_.TakeTag();
            v.Type = RawValue::Kind::Collection;
            while (!in_.AtListEnd()) {
                CheckDepth(depth + 1);
                RawItem item;
                if (IsInt32Tag(in_.PeekTag())) {
                    item.HasIndex = true;
                    item.Index = in_.TakeInt64();
                }
                if (in_.TakeTag() != TagList) throw EReadError(InvalidValue);
                while (!in_.AtListEnd()) {
                    std::string path = in_.TakeName();
                    item.Properties.emplace_back(std::move(path), ReadRaw(depth + 2));
                }
                in_.TakeTag();
                v.Items.push_back(std::move(item));
            }
            in_.TakeTag();
        } else {
            throw EReadError(InvalidValue);
        }
        return v;
    }

    // Links a child to the object it was written in: a control to its windowed parent,
    // a menu item or field to its menu, item or dataset. A non-visual component written
    // inside a control belongs to the form alone. No link may close a loop, which
    // inherited objects found by name could otherwise make.
    static void Attach(Object& object, Object* enclosing, Object* owner) {
        if (!enclosing || enclosing == &object) return;
        if (object.GetClass().Has(CfControl)) {
            if (enclosing->GetClass().Has(CfWinControl) &&
                !IsWithin(enclosing, &object, [](const Object* o) { return o->Parent(); }))
                object.SetParent(enclosing);
        } else if (enclosing != owner && !enclosing->GetClass().Has(CfControl)) {
            if (!IsWithin(enclosing, &object, [](const Object* o) { return o->ParentComponent(); }))
                object.SetParentComponent(enclosing);
        }
    }

    // Moves a control to the place a child-position flag gives. The place counts the
    // parent's controls as the component library lists them, the ones without a window
    // first, then the windowed ones; a control moves only among those of its own kind,
    // a position outside them taking the nearest end. The parent's list keeps the other
    // kind where it was.
    static void PlaceAmongSiblings(Object& control, int position) {
        const Object* parent = control.Parent();
        if (!parent) return;
        const bool windowed = control.GetClass().Has(CfWinControl);
        std::vector<Object*> others;    // the parent's controls without this one
        std::vector<std::size_t> kind;  // the places in others of those of its kind
        std::size_t now = 0;            // its place among them
        int withoutWindow = 0;
        for (Object* sibling : parent->Controls()) {
            const bool siblingWindowed = sibling->GetClass().Has(CfWinControl);
            if (!siblingWindowed) ++withoutWindow;
            if (sibling == &control) {
                now = kind.size();
                continue;
            }
            if (siblingWindowed == windowed) kind.push_back(others.size());
            others.push_back(sibling);
        }
        const long long wanted = static_cast<long long>(position) - (windowed ? withoutWindow : 0);
        const auto index =
            static_cast<std::size_t>(std::clamp<long long>(wanted, 0, static_cast<long long>(kind.size())));
        if (index == now) return;
        control.SetChildPosition(static_cast<int>(index < kind.size() ? kind[index] : kind.back() + 1));
    }

    // Skips the properties and children of the current record, whose header was read;
    // the records inside it are noted all the same, so that the ones after it keep
    // their places.
    void SkipObjectBody(int depth) {
        CheckDepth(depth);
        while (!in_.AtListEnd()) {
            in_.TakeName();
            in_.SkipOneValue();
        }
        in_.TakeTag();
        while (!in_.AtListEnd()) {
            in_.TakePrefix();
            const std::string className = in_.TakeName();
            const std::string name = in_.TakeName();
            const int outer = current_;
            current_ = AddRecord(name, className);
            SkipObjectBody(depth + 1);
            current_ = outer;
        }
        in_.TakeTag();
    }

    // ---------------------------------------------------------------------------
    // Properties

    void ReadProperties(Object& object, const std::string& context, Object* lookupRoot, int depth) {
        while (!in_.AtListEnd())
            ReadProperty(object, context, lookupRoot, depth);
        in_.TakeTag();
    }

    void ReadProperty(Object& object, const std::string& context, Object* lookupRoot, int depth) {
        const std::string path = in_.TakeName();
        // A stand-in read again (an inherited record over an ancestor's object of a class
        // the registry does not know) takes its values as when it was made: what fits a
        // published property is set, everything else is kept as written, replacing the
        // value kept before.
        if (object.GetClass().Has(CfStandIn)) {
            RawValue value = ReadRaw(depth + 1);
            hooks_.PropertyHook(object, path);
            if (ApplyRaw(object, path, value, lookupRoot)) return;
            std::vector<RawProperty>& kept = object.Unpublished();
            const auto same = std::find_if(kept.begin(), kept.end(), [&](const RawProperty& entry) {
                return EqualsIgnoringCase(entry.first, path);
            });
            if (same != kept.end())
                same->second = std::move(value);
            else
                kept.emplace_back(path, std::move(value));
            return;
        }
        // Font.Name, Margins.Left, Title.Font.Color: each part but the last names an
        // owned sub-object.
        Object* target = &object;
        std::string_view rest = path;
        for (std::size_t dot = rest.find('.'); dot != std::string_view::npos; dot = rest.find('.')) {
            const std::string_view part = rest.substr(0, dot);
            const Property* p = target->FindProperty(part);
            Object* sub = p && p->Kind() == TypeKind::tkClass && p->Info->Holding == PropHolding::Owned
                              ? target->ObjectValue(*p)
                              : nullptr;
            if (!sub) {
                in_.SkipOneValue();
                if (p)
                    Recoverable(ErrorReading(context, path, "Invalid property path"), object.ClassName(),
                                context, path);
                else
                    Recoverable("Property " + path + " does not exist", object.ClassName(), context, path);
                return;
            }
            target = sub;
            rest.remove_prefix(dot + 1);
        }

        std::string error;
        if (const Property* p = target->FindProperty(rest)) {
            error = ReadPropertyValue(*target, *p, context, path, lookupRoot, depth);
        } else if (const StoredValueRule* rule = FindStoredValue(target->GetClass(), rest)) {
            error = ReadStoredValue(*target, *rule, context, path, lookupRoot, depth);
        } else {
            in_.SkipOneValue();
            Recoverable("Property " + path + " does not exist", object.ClassName(), context, path);
            return;
        }
        if (error.empty()) {
            ++summary_.PropertiesSet;
            hooks_.PropertyHook(object, path);
        } else
            Recoverable(ErrorReading(context, path, error), object.ClassName(), context, path);
    }

    // Reads a published property's value; returns the reason when it does not fit, the
    // value then being skipped.
    std::string ReadPropertyValue(Object& object, const Property& p, const std::string& context,
                                  std::string_view path, Object* lookupRoot, int depth) {
        const TypeInfo& type = p.Type();
        const std::uint8_t tag = in_.PeekTag();
        switch (type.Kind) {
            case TypeKind::tkInteger:
                if (IsInt32Tag(tag)) {
                    object.Set(p, Value(in_.TakeInt64()));
                    return {};
                }
                if (tag == TagIdent) {
                    // A named value, as clBtnFace or crHandPoint.
                    const std::string name = in_.TakeIdentifier();
                    for (const IdentEntry& e : type.Idents) {
                        if (EqualsIgnoringCase(e.Name, name)) {
                            object.Set(p, Value(e.Value));
                            return {};
                        }
                    }
                    return InvalidValue;
                }
                return SkipInvalid();

            case TypeKind::tkInt64:
                if (!IsIntTag(tag)) return SkipInvalid();
                object.Set(p, Value(in_.TakeInt64()));
                return {};

            case TypeKind::tkChar:
            case TypeKind::tkWChar: {
                if (!IsStringTag(tag)) return SkipInvalid();
                const std::u16string text = in_.TakeStringW();
                if (text.size() > 1) return InvalidValue;
                std::int64_t code = text.empty() ? 0 : text[0];
                if (type.Kind == TypeKind::tkChar && code != 0) {
                    const int byte = in_.Codepage().ToByte(text[0]);
                    code = byte < 0 ? '?' : byte;
                }
                object.Set(p, Value(code));
                return {};
            }

            case TypeKind::tkEnumeration: {
                if (!IsIdentTag(tag)) return SkipInvalid();
                const int ordinal = EnumOrdinal(type, in_.TakeIdentifier());
                if (ordinal < 0) return InvalidValue;
                object.Set(p, Value(std::int64_t{ordinal}));
                return {};
            }

            case TypeKind::tkSet: {
                if (tag != TagSet) return SkipInvalid();
                std::int64_t mask = 0;
                if (!ReadSet(type, mask)) return InvalidValue;
                object.Set(p, Value(mask));
                return {};
            }

            case TypeKind::tkFloat:
                if (!IsFloatTag(tag)) return SkipInvalid();
                object.Set(p, Value(TakeFloat()));
                return {};

            case TypeKind::tkString:
            case TypeKind::tkLString:
            case TypeKind::tkWString:
                if (!IsStringTag(tag)) return SkipInvalid();
                object.Set(p, Value(Utf8TextFromUtf16(in_.TakeStringW())));
                return {};

            case TypeKind::tkVariant:
                return ReadVariant(object, p);

            case TypeKind::tkMethod:
                return ReadMethod(object, p);

            case TypeKind::tkClass:
                if (p.Info->Holding == PropHolding::Owned) {
                    Object* sub = object.ObjectValue(p);
                    if (tag == TagCollection && sub && sub->GetClass().Has(CfCollection)) {
                        in_.TakeTag();
                        ReadCollection(*sub, context + "." + std::string(path), lookupRoot, depth + 1);
                        return {};
                    }
                    if (tag == TagNil) {  // nothing to clear: the sub-object stays as created
                        in_.TakeTag();
                        return {};
                    }
                    return SkipInvalid();
                }
                return ReadReference(object, p, lookupRoot);

            case TypeKind::tkInterface:
                // Interface references are not kept; a name or nil is accepted as it is.
                if (tag != TagIdent && tag != TagNil) return SkipInvalid();
                in_.SkipOneValue();
                return {};

            default:
                return SkipInvalid();
        }
    }

    long double TakeFloat() {
        const std::uint8_t tag = in_.PeekTag();
        switch (tag) {
            case TagSingle:
                return in_.TakeSingle();
            case TagCurrency:
                return static_cast<long double>(in_.TakeCurrency()) / 10000.0L;
            case TagDate:
                return in_.TakeDateTime();
            default:
                return in_.TakeExtended();  // extended, double and the integers
        }
    }

    // Reads the element names of a set value (its tag still unread) into a bit mask.
    // Every name is consumed; false when one does not belong to the set's elements.
    bool ReadSet(const TypeInfo& type, std::int64_t& mask) {
        in_.TakeTag();
        bool ok = type.ElementType != nullptr;
        for (std::string name = in_.TakeName(); !name.empty(); name = in_.TakeName()) {
            if (!ok) continue;
            const int ordinal = SetElementOrdinal(type, name);
            if (ordinal < 0)
                ok = false;
            else
                mask |= std::int64_t{1} << ordinal;
        }
        return ok;
    }

    // The bit of a set's element by its written name, -1 when it is none of the set's.
    static int SetElementOrdinal(const TypeInfo& setType, std::string_view name) {
        if (!setType.ElementType) return -1;
        int ordinal = -1;
        if (setType.ElementType->Kind == TypeKind::tkEnumeration) {
            ordinal = EnumOrdinal(*setType.ElementType, name);
        } else {
            // Sets of small integers are written with the numbers as names.
            int n = 0;
            const auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), n);
            if (ec == std::errc() && end == name.data() + name.size()) ordinal = n;
        }
        return ordinal < 0 || ordinal > 63 ? -1 : ordinal;
    }

    // A variant keeps the text of its value.
    std::string ReadVariant(Object& object, const Property& p) {
        const std::uint8_t tag = in_.PeekTag();
        std::string text;
        if (IsIntTag(tag)) {
            text = std::to_string(in_.TakeInt64());
        } else if (IsFloatTag(tag)) {
            char buffer[64];
            const auto result =
                std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(TakeFloat()));
            text.assign(buffer, result.ptr);
        } else if (IsStringTag(tag)) {
            text = Utf8TextFromUtf16(in_.TakeStringW());
        } else if (IsIdentTag(tag)) {
            text = in_.TakeIdentifier();
        } else if (tag == TagNull || tag == TagNil || tag == TagList || tag == TagBinary) {
            // Null, Unassigned and arrays keep no text.
            in_.SkipOneValue();
        } else {
            return SkipInvalid();
        }
        object.Set(p, Value(std::move(text)));
        return {};
    }

    // An event names a method of the form; the hook answers its address.
    std::string ReadMethod(Object& object, const Property& p) {
        const std::uint8_t tag = in_.PeekTag();
        if (tag == TagNil || tag == TagNull) {
            in_.TakeTag();
            object.Set(p, Value(MethodValue{}));
            return {};
        }
        if (tag != TagIdent) return SkipInvalid();
        std::string name = in_.TakeIdentifier();
        bool error = true;
        const std::optional<std::uintptr_t> code = hooks_.MethodLookupHook(name, error);
        if (code && *code != 0) {
            object.Set(p,
                       Value(MethodValue{*code, reinterpret_cast<std::uintptr_t>(&root_), std::move(name)}));
            return {};
        }
        return error ? InvalidValue : std::string();
    }

    // A reference names a component that may come later in the form: it is kept and
    // resolved at the end.
    std::string ReadReference(Object& object, const Property& p, Object* lookupRoot) {
        const std::uint8_t tag = in_.PeekTag();
        if (tag == TagNil || tag == TagNull) {
            in_.TakeTag();
            object.Set(p, Value(static_cast<Object*>(nullptr)));
            return {};
        }
        if (tag != TagIdent) return SkipInvalid();
        fixups_.push_back({&object, &p, in_.TakeIdentifier(), lookupRoot});
        return {};
    }

    // The items of a collection value, its tag already taken. An item may begin with
    // an index, which is not needed: items are added in order.
    void ReadCollection(Object& collection, const std::string& context, Object* lookupRoot, int depth) {
        CheckDepth(depth);
        bool cleared = false;
        bool reported = false;
        for (int index = 0; !in_.AtListEnd(); ++index) {
            if (!cleared) {
                DropFixupsIn(collection);
                collection.ClearItems();
                cleared = true;
            }
            if (IsInt32Tag(in_.PeekTag())) in_.TakeInt64();
            if (in_.TakeTag() != TagList) throw EReadError(InvalidValue);
            const std::string itemContext = context + "[" + std::to_string(index) + "]";
            if (Object* item = collection.AddItem()) {
                ReadProperties(*item, itemContext, lookupRoot, depth);
                continue;
            }
            // A collection whose items this program cannot make: the values are lost,
            // which is said once.
            while (!in_.AtListEnd()) {
                in_.TakeName();
                in_.SkipOneValue();
            }
            in_.TakeTag();
            if (!reported)
                Recoverable("Error reading " + context + ": " + InvalidValue, collection.ClassName(),
                            context);
            reported = true;
        }
        in_.TakeTag();
    }

    // Items about to be destroyed must not stay in the list of references to resolve.
    // A collection read for the first time has no items yet, and the list is then left
    // alone: walking it for every collection would cost time in step with the whole form.
    void DropFixupsIn(Object& collection) {
        if (fixups_.empty() || collection.Items().empty()) return;
        std::vector<const Object*> doomed;
        for (const ObjectPtr& item : collection.Items())
            ForEachInTree(*item, [&](Object& o) { doomed.push_back(&o); });
        std::sort(doomed.begin(), doomed.end(), std::less<>());
        std::erase_if(fixups_, [&](const Fixup& f) {
            return std::binary_search(doomed.begin(), doomed.end(), f.Instance, std::less<>());
        });
    }

    // ---------------------------------------------------------------------------
    // Values the classes write themselves

    std::string ReadStoredValue(Object& object, const StoredValueRule& rule, const std::string& context,
                                std::string_view path, Object* lookupRoot, int depth) {
        const std::string name(rule.Name);
        const std::uint8_t tag = in_.PeekTag();
        switch (rule.Shape) {
            case StoredShape::Integer:
                if (!IsIntTag(tag)) return SkipInvalid();
                object.Stored()[name] = Value(in_.TakeInt64());
                return {};

            case StoredShape::Boolean:
                if (tag != TagFalse && tag != TagTrue) return SkipInvalid();
                object.Stored()[name] = Value(std::int64_t{in_.TakeTag() == TagTrue});
                return {};

            case StoredShape::String:
                if (!IsStringTag(tag)) return SkipInvalid();
                object.Stored()[name] = Value(Utf8TextFromUtf16(in_.TakeStringW()));
                return {};

            case StoredShape::Scalar:
                if (IsIntTag(tag))
                    object.Stored()[name] = Value(in_.TakeInt64());
                else if (IsFloatTag(tag))
                    object.Stored()[name] = Value(TakeFloat());
                else if (IsStringTag(tag))
                    object.Stored()[name] = Value(Utf8TextFromUtf16(in_.TakeStringW()));
                else if (IsIdentTag(tag))
                    object.Stored()[name] = Value(in_.TakeIdentifier());
                else
                    return SkipInvalid();
                return {};

            case StoredShape::IntegerList: {
                if (tag != TagList) return SkipInvalid();
                in_.TakeTag();
                std::vector<std::int64_t> numbers;
                bool ok = true;
                while (!in_.AtListEnd()) {
                    if (IsIntTag(in_.PeekTag())) {
                        numbers.push_back(in_.TakeInt64());
                    } else {
                        in_.SkipOneValue();
                        ok = false;
                    }
                }
                in_.TakeTag();
                if (!ok || (rule.Count > 0 && numbers.size() != static_cast<std::size_t>(rule.Count)))
                    return InvalidValue;
                object.StoredBlocks()[name].Integers = std::move(numbers);
                return {};
            }

            case StoredShape::StringList:
            case StoredShape::Lines: {
                if (tag != TagList) return SkipInvalid();
                in_.TakeTag();
                std::vector<std::string> lines;
                bool ok = true;
                while (!in_.AtListEnd()) {
                    if (IsStringTag(in_.PeekTag())) {
                        lines.push_back(Utf8TextFromUtf16(in_.TakeStringW()));
                    } else {
                        in_.SkipOneValue();
                        ok = false;
                    }
                }
                in_.TakeTag();
                // The lines that could be read are kept even when one could not.
                if (rule.Shape == StoredShape::Lines)
                    object.Lines() = std::move(lines);
                else
                    object.StoredBlocks()[name].Strings = std::move(lines);
                return ok ? std::string() : InvalidValue;
            }

            case StoredShape::Binary:
                if (tag != TagBinary) return SkipInvalid();
                object.StoredBlocks()[name].Bytes = in_.TakeBinary();
                return {};

            case StoredShape::Picture:
            case StoredShape::Graphic: {
                if (tag != TagBinary) return SkipInvalid();
                return ReadGraphic(object, rule.Shape == StoredShape::Picture, in_.TakeBinary());
            }

            case StoredShape::Collection: {
                const Property* p = object.FindProperty(rule.Target);
                Object* sub = p && p->Info->Holding == PropHolding::Owned ? object.ObjectValue(*p) : nullptr;
                if (tag != TagCollection || !sub || !sub->GetClass().Has(CfCollection)) return SkipInvalid();
                in_.TakeTag();
                ReadCollection(*sub, context + "." + std::string(path), lookupRoot, depth + 1);
                return {};
            }
        }
        return SkipInvalid();
    }

    // A picture's data begins with the name of its graphic's class; a graphic's data is
    // its own. The image header gives the size.
    std::string ReadGraphic(Object& object, bool picture, std::vector<std::uint8_t> data) {
        GraphicData& graphic = object.Graphic();
        graphic = GraphicData{};
        if (picture) {
            if (data.empty()) return {};  // an empty picture
            const std::size_t length = data[0];
            if (length + 1 > data.size()) return InvalidValue;
            graphic.ClassName.assign(reinterpret_cast<const char*>(data.data()) + 1, length);
            data.erase(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(length + 1));
        } else {
            graphic.ClassName = std::string(object.ClassName());
        }
        graphic.Bytes = std::move(data);
        if (RecogniseGraphic(graphic) != GraphicCheck::Unknown) return {};
        // Bitmaps and icons must hold what their class reads; other graphic classes may
        // hold formats this program does not know, kept as they are.
        const bool bitmap =
            picture ? EqualsIgnoringCase(graphic.ClassName, "TBitmap") : object.InheritsFrom("TBitmap");
        const bool icon =
            picture ? EqualsIgnoringCase(graphic.ClassName, "TIcon") : object.InheritsFrom("TIcon");
        if (bitmap) return "Bitmap image is not valid";
        if (icon) return "Icon image is not valid";
        return {};
    }

    // ---------------------------------------------------------------------------
    // The end of a read

    void Finish() {
        ResolveFixups();
        for (Object* o : read_)
            o->SetLoaded();
    }

    // Each reference is looked up relative to the component it was written under, then
    // the form; a dotted name may begin with the form's own name or another form's.
    // A name that finds nothing, or a component of the wrong class, leaves the
    // reference empty, without a message.
    void ResolveFixups() {
        for (const Fixup& f : fixups_) {
            Object* found = Resolve(f);
            const ClassInfo* wanted = f.Prop->Type().ClassType;
            if (found && (!wanted || found->InheritsFrom(wanted->Name)))
                f.Instance->Set(*f.Prop, Value(found));
        }
        fixups_.clear();
    }

    Object* Resolve(const Fixup& f) const {
        if (Object* found = FindNested(f.LookupRoot, f.Name)) return found;
        if (f.LookupRoot != &root_)
            if (Object* found = FindNested(&root_, f.Name)) return found;
        const std::size_t dot = f.Name.find('.');
        if (dot == std::string::npos) return nullptr;
        const std::string_view head = std::string_view(f.Name).substr(0, dot);
        const std::string_view tail = std::string_view(f.Name).substr(dot + 1);
        if (EqualsIgnoringCase(head, root_.Name())) return FindNested(&root_, tail);
        if (taken_)
            if (Object* form = taken_->Find(head); form && form != &root_) return FindNested(form, tail);
        return nullptr;
    }

    FormReader in_;
    Object& root_;
    ReaderHooks& hooks_;
    ClassRegistry& registry_;
    FormNames* taken_;
    std::vector<Fixup> fixups_;
    std::vector<Object*> read_;  // every component read, the root first
    ReadSummary& summary_;
    int current_ = -1;  // the entry of the record being read
};

}  // namespace

bool ReaderHooks::ErrorHook(const std::string& message) {
    (void)message;
    return false;
}

std::optional<std::uintptr_t> ReaderHooks::MethodLookupHook(const std::string& methodName, bool& error) {
    (void)methodName;
    (void)error;
    return std::nullopt;
}

ObjectPtr ReaderHooks::InlineHook(const std::string& className, const std::string& name, int depth) {
    (void)className;
    (void)name;
    (void)depth;
    return nullptr;
}

void ReaderHooks::PropertyHook(const Object& object, const std::string& path) {
    (void)object;
    (void)path;
}

int ReaderHooks::StartDepth() const {
    return 0;
}

Object* FormNames::Find(std::string_view name) const {
    for (const auto& [formName, form] : forms_)
        if (form && EqualsIgnoringCase(formName, name)) return form;
    return nullptr;
}

bool FormNames::Has(std::string_view name) const {
    return std::any_of(forms_.begin(), forms_.end(),
                       [&](const auto& entry) { return EqualsIgnoringCase(entry.first, name); });
}

void FormNames::Add(std::string name, Object* form) {
    forms_.emplace_back(std::move(name), form);
}

void FormNames::Remove(const Object* form) {
    if (!form) return;
    std::erase_if(forms_, [&](const auto& entry) { return entry.second == form; });
    // References from the other forms into this one would dangle once it is gone.
    for (const auto& [name, other] : forms_)
        if (other) ClearReferencesInto(*other, form);
}

ReadSummary ReadFormInto(Object& root, Stream& stream, ReaderHooks& hooks, ClassRegistry& registry,
                         const CodePage& codePage, FormNames* taken) {
    ReadSummary summary;
    ReadFormInto(root, stream, hooks, registry, codePage, taken, summary);
    return summary;
}

void ReadFormInto(Object& root, Stream& stream, ReaderHooks& hooks, ClassRegistry& registry,
                  const CodePage& codePage, FormNames* taken, ReadSummary& summary) {
    TreeReader(root, stream, hooks, registry, codePage, taken, summary).Run();
}

void ReadPropertiesInto(Object& object, Object& root, Stream& stream, ReaderHooks& hooks,
                        ClassRegistry& registry, const CodePage& codePage, FormNames* taken,
                        ReadSummary& summary) {
    TreeReader(root, stream, hooks, registry, codePage, taken, summary).RunProperties(object);
}

}  // namespace fw::rt
