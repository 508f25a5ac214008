#include "formbuild.h"

#include <algorithm>
#include <exception>
#include <map>
#include <memory>
#include <new>

#include "actionlinks.h"
#include "base/errors.h"
#include "base/stream.h"
#include "codec/conversion.h"
#include "codec/formformat.h"
#include "codec/textlines.h"
#include "propertyaccess.h"

namespace fw::rt {

std::string MakeNormalWindow(Object& root) {
    std::string asked = EnumName(root, "BorderStyle");
    // A frame's BorderStyle is a control's (bsNone, bsSingle), not a window's frame.
    if (!root.InheritsFrom("TCustomForm")) return asked;
    ResetProperty(root, "ActiveControl");
    SetEnum(root, "FormStyle", "fsNormal");
    SetEnum(root, "BorderStyle", "bsSizeable");
    return asked;
}

bool IsWindowSettingIssue(const ReadIssue& issue) {
    if (issue.Record != 0 || issue.Context.find('.') != std::string::npos) return false;
    for (const std::string_view name : {"ActiveControl", "FormStyle", "BorderStyle"})
        if (EqualsIgnoringCase(issue.Path, name)) return true;
    return false;
}

bool MessageCollectingHooks::ErrorHook(const std::string& message) {
    messages_.push_back("ERROR=" + message);
    return true;
}

std::optional<std::uintptr_t> MessageCollectingHooks::MethodLookupHook(const std::string& methodName,
                                                                       bool& error) {
    (void)methodName;
    error = false;
    return std::nullopt;
}

std::string ObjectPathText(const MessagePlace& place) {
    std::string path;
    for (const MessagePlace::Step& step : place.Objects) {
        if (!path.empty()) path += '.';
        path += step.Name.empty() ? "(" + step.ClassName + ")" : step.Name;
    }
    return path;
}

namespace {

// The places of a read's object records: each record's chain from the root, with its
// position among the records of its parent.
class RecordPlaces {
public:
    explicit RecordPlaces(const std::vector<ReadObject>& objects)
        : objects_(objects), positions_(objects.size()) {
        std::vector<int> children(objects.size());
        for (std::size_t i = 0; i < objects.size(); ++i) {
            const int parent = objects[i].Parent;
            if (parent >= 0 && static_cast<std::size_t>(parent) < i)
                positions_[i] = children[static_cast<std::size_t>(parent)]++;
        }
    }

    // The chain from the root down to the entry; empty for none.
    std::vector<MessagePlace::Step> StepsTo(int entry) const {
        std::vector<MessagePlace::Step> steps;
        // A record's parent comes before it, so the walk ends.
        for (int at = entry; at >= 0 && at < static_cast<int>(objects_.size());) {
            const ReadObject& record = objects_[static_cast<std::size_t>(at)];
            steps.push_back({record.Name, record.ClassName, positions_[static_cast<std::size_t>(at)]});
            if (record.Parent >= at) break;
            at = record.Parent;
        }
        std::reverse(steps.begin(), steps.end());
        return steps;
    }

    // Where a reader's complaint arose: its record, and the property path below the
    // record's own context (an item's place first: Columns[2].Caption).
    MessagePlace PlaceOf(const ReadIssue& issue) const {
        MessagePlace place;
        place.Objects = StepsTo(issue.Record);
        if (issue.Record < 0 || issue.Record >= static_cast<int>(objects_.size())) return place;
        const ReadObject& record = objects_[static_cast<std::size_t>(issue.Record)];
        // The reader names an object's entries after the object as it was read in: its
        // name, or its class when it has none; then comes the item's place within it.
        std::string own = record.Name;
        if (record.Live)
            own = record.Live->Name().empty() ? std::string(record.Live->ClassName()) : record.Live->Name();
        std::string within;
        if (issue.Context.size() > own.size() && issue.Context.compare(0, own.size(), own) == 0 &&
            issue.Context[own.size()] == '.')
            within = issue.Context.substr(own.size() + 1);
        if (!within.empty() && !issue.Path.empty()) within += '.';
        place.Property = within + issue.Path;
        return place;
    }

private:
    const std::vector<ReadObject>& objects_;
    std::vector<int> positions_;
};

}  // namespace

void BuildFormFromText(Object& root, std::string_view text, ClassRegistry& registry, const CodePage& codePage,
                       std::vector<std::string>& messages, FormNames* taken) {
    std::vector<BuildMessage> built;
    BuildFormFromText(root, text, registry, codePage, built, taken);
    for (BuildMessage& message : built)
        messages.push_back(std::move(message.Text));
}

void BuildFormFromText(Object& root, std::string_view text, ClassRegistry& registry, const CodePage& codePage,
                       std::vector<BuildMessage>& messages, FormNames* taken,
                       std::vector<ReadObject>* objects, FormFileSource* source, BuildOrigins* origins) {
    // With a source the root's ancestors are read into it first, and inline frames from
    // their own files as the text's records are met.
    std::unique_ptr<WholeFormReading> whole;
    if (source) whole = std::make_unique<WholeFormReading>(registry, codePage, *source, origins);
    std::vector<std::string> texts;
    ReadSummary summary;
    MessagePlace stopped;
    std::string failure;
    try {
        if (whole) whole->ReadAncestors(root, text);
        std::string storage;
        const std::string_view read = WithLineFeeds(text, storage);
        ByteViewStream input(ByteSpan(reinterpret_cast<const std::uint8_t*>(read.data()), read.size()));
        MemoryStream binary;
        try {
            TextToBinaryForm(input, binary, codePage);
        } catch (const EParserError& error) {
            stopped.Line = error.Line();
            throw;
        }
        ByteViewStream form(binary.Data());
        MessageCollectingHooks collecting(texts);
        const std::unique_ptr<ReaderHooks> wholeHooks = whole ? whole->Hooks(texts) : nullptr;
        ReadFormInto(root, form, wholeHooks ? *wholeHooks : collecting, registry, codePage, taken, summary);
        ApplyActionLinks(root);
    } catch (const std::bad_alloc&) {
        failure = "ERROR=Reader: Out of memory";
    } catch (const std::exception& error) {
        failure = std::string("ERROR=Reader: ") + error.what();
    }
    const RecordPlaces places(summary.Objects);
    // The hooks heard of each complaint right after the summary noted it, so the two
    // lists run side by side.
    // An unknown class is said once per form, at its first object, with the number of
    // objects when there are more: a form with hundreds of third-party items would
    // otherwise bury every other message.
    std::map<std::string, std::pair<std::size_t, int>> unknownClasses;  // text -> message index, count
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i < summary.Issues.size() && IsWindowSettingIssue(summary.Issues[i])) continue;
        const bool unknownClass = texts[i].starts_with("ERROR=Class ") && texts[i].ends_with(" not found");
        if (unknownClass) {
            auto [it, added] = unknownClasses.try_emplace(texts[i], messages.size(), 0);
            ++it->second.second;
            if (!added) continue;
        }
        messages.push_back({std::move(texts[i]),
                            i < summary.Issues.size() ? places.PlaceOf(summary.Issues[i]) : MessagePlace{}});
    }
    for (const auto& [unknown, at] : unknownClasses)
        if (at.second > 1) messages[at.first].Text += " (" + std::to_string(at.second) + " objects)";
    if (!failure.empty()) {
        stopped.Objects = places.StepsTo(summary.StoppedIn);
        messages.push_back({std::move(failure), std::move(stopped)});
    }
    // What the other files' reading said is about those files, not a place in the text.
    if (whole)
        for (std::string& message : whole->TakeMessages())
            messages.push_back({std::move(message), MessagePlace{}});
    if (objects) *objects = std::move(summary.Objects);
}

bool ReadPropertiesInto(Object& object, Object& root, std::string_view text, ClassRegistry& registry,
                        const CodePage& codePage, std::string& error, FormNames* taken) {
    try {
        std::string storage;
        const std::string_view read = WithLineFeeds(text, storage);
        ByteViewStream input(ByteSpan(reinterpret_cast<const std::uint8_t*>(read.data()), read.size()));
        MemoryStream binary;
        TextToBinaryForm(input, binary, codePage);
        ByteViewStream form(binary.Data());
        // Every complaint stops the read: a value the reader would skip is not the value
        // written. Events stay unassigned without one, as in a build.
        struct StrictHooks : ReaderHooks {
            std::optional<std::uintptr_t> MethodLookupHook(const std::string&, bool& failed) override {
                failed = false;
                return std::nullopt;
            }
        } strict;
        ReadSummary summary;
        ReadPropertiesInto(object, root, form, strict, registry, codePage, taken, summary);
        ApplyActionLinks(root);
    } catch (const std::bad_alloc&) {
        error = "Out of memory";
        return false;
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
    return true;
}

}  // namespace fw::rt
