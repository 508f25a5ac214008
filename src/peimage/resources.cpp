#include "peimage/resources.h"

#include <unordered_set>

#include "base/asciitext.h"

namespace fw::pe {

namespace {

constexpr std::uint32_t HighBit = 0x80000000u;
constexpr std::uint64_t DirectorySize = 16;
constexpr std::uint64_t EntrySize = 8;
constexpr std::uint64_t DataEntrySize = 16;

struct TypeNameEntry {
    std::int32_t Type;
    std::string_view Name;
};

constexpr TypeNameEntry TypeNames[] = {
    {1, "CURSOR"},        {2, "BITMAP"},        {3, "ICON"},        {4, "MENU"},        {5, "DIALOG"},
    {6, "STRING"},        {7, "FONTDIR"},       {8, "FONT"},        {9, "ACCELERATOR"}, {10, "RCDATA"},
    {11, "MESSAGETABLE"}, {12, "GROUP_CURSOR"}, {14, "GROUP_ICON"}, {16, "VERSION"},    {17, "DLGINCLUDE"},
    {19, "PLUGPLAY"},     {20, "VXD"},          {21, "ANICURSOR"},  {22, "ANIICON"},    {23, "HTML"},
    {24, "MANIFEST"},     {125, "REGISTRY"},    {126, "TYPELIB"},   {127, "AVI"},
};

class Walker {
public:
    Walker(const ByteView& root, const ResourceDataResolver& resolve, const CodePage& codePage,
           TResourceData& items)
        : root_(root),
          resolve_(resolve),
          codePage_(codePage),
          items_(items),
          // Entries of distinct directories never share bytes in a real file.
          entryBudget_(root.Size() / EntrySize + 1) {}

    void Run() {
        const Directory top = ReadDirectory(0);
        visited_.insert(0);
        for (std::uint64_t i = 0; i < top.Count; ++i) {
            const Entry type = ReadEntry(top, i);
            const std::string label = Label(type.NameField);
            const std::int32_t resType = ResTypeOf(type.NameField, label);
            TypeLevel level{resType, TypeNameOf(resType, label)};
            // A root entry always names a sub-directory, whatever its high bit says.
            WalkDirectory(type.Offset & ~HighBit, level, type, 1);
        }
    }

private:
    struct Directory {
        std::uint64_t Offset;
        std::uint64_t Count;  // named plus numbered entries
    };
    struct Entry {
        std::uint32_t NameField;
        std::uint32_t Offset;
    };
    struct TypeLevel {
        std::int32_t ResType;
        std::string TypeName;
    };

    Directory ReadDirectory(std::uint64_t offset) const {
        const std::uint64_t named = root_.U16(offset + 12);
        const std::uint64_t numbered = root_.U16(offset + 14);
        (void)root_.Slice(offset, DirectorySize);
        return {offset, named + numbered};
    }

    Entry ReadEntry(const Directory& directory, std::uint64_t index) {
        if (entryBudget_ == 0)
            throw EResourceLimit("The resource directory has more entries than it has room for");
        --entryBudget_;
        const std::uint64_t at = directory.Offset + DirectorySize + index * EntrySize;
        return {root_.U32(at), root_.U32(at + 4)};
    }

    // A name field with its high bit set points to a counted UTF-16 string; otherwise its
    // low 16 bits are the entry's number.
    std::string Label(std::uint32_t nameField) {
        if ((nameField & HighBit) == 0) return std::to_string(nameField & 0xFFFFu);
        const std::uint64_t at = nameField & ~HighBit;
        const std::uint64_t count = root_.U16(at);
        const ByteSpan units = root_.Slice(at + 2, count * 2);
        CountLabelBytes(count);
        std::u16string text;
        text.reserve(static_cast<std::size_t>(count));
        for (std::size_t i = 0; i < units.size(); i += 2)
            text.push_back(static_cast<char16_t>(LoadLe16(units.data() + i)));
        return codePage_.Encode(text);
    }

    // Every label decoded and every label stored counts, so that neither many entries
    // naming one long string nor many items of one long type name can run away.
    void CountLabelBytes(std::uint64_t n) {
        labelBytes_ += n;
        if (labelBytes_ > MaxResourceLabelBytes) throw EResourceLimit("The resource names are too long");
    }

    static std::int32_t ResTypeOf(std::uint32_t typeNumber, const std::string& label) {
        if (typeNumber < 1 || typeNumber > 24) {
            if (EqualsIgnoringCase(label, "REGISTRY")) return 125;
            if (EqualsIgnoringCase(label, "TYPELIB")) return 126;
            if (EqualsIgnoringCase(label, "AVI")) return 127;
        }
        return static_cast<std::int32_t>(typeNumber);
    }

    static std::string TypeNameOf(std::int32_t resType, const std::string& label) {
        const std::string_view standard = StandardTypeName(resType);
        if (!standard.empty()) return std::string(standard);
        return "\"" + label + "\"";
    }

    void WalkDirectory(std::uint64_t offset, const TypeLevel& type, const Entry& owner, int depth) {
        if (depth > MaxResourceDepth) return;
        // A loop leads back to a directory already walked; walking it again would never end.
        if (!visited_.insert(offset).second) return;
        const Directory directory = ReadDirectory(offset);
        const std::string ownerLabel = Label(owner.NameField);
        for (std::uint64_t i = 0; i < directory.Count; ++i) {
            const Entry entry = ReadEntry(directory, i);
            if (entry.Offset & HighBit) {
                WalkDirectory(entry.Offset & ~HighBit, type, entry, depth + 1);
                continue;
            }
            const std::uint64_t at = entry.Offset;
            (void)root_.Slice(at, DataEntrySize);
            ResourceItem item;
            item.ResType = type.ResType;
            item.TypeName = type.TypeName;
            item.Name = ownerLabel;
            item.Language = Label(entry.NameField);
            item.OffsetToData = root_.U32(at);
            item.Size = root_.U32(at + 4);
            item.CodePage = root_.U32(at + 8);
            const std::optional<ByteSpan> data = resolve_(item.OffsetToData, item.Size);
            if (!data) {
                throw EOutsideImage("The data of resource " + item.Name + " lies outside the file");
            }
            item.Data = *data;
            CountLabelBytes(item.TypeName.size() + item.Name.size() + item.Language.size());
            if (++itemCount_ > MaxResourceItems)
                throw EResourceLimit("The resource directory lists too many resources");
            items_.push_back(std::move(item));
        }
    }

    const ByteView& root_;
    const ResourceDataResolver& resolve_;
    const CodePage& codePage_;
    TResourceData& items_;
    std::uint64_t entryBudget_;
    std::uint64_t labelBytes_ = 0;
    std::size_t itemCount_ = 0;
    std::unordered_set<std::uint64_t> visited_;
};

}  // namespace

std::string_view StandardTypeName(std::int32_t type) {
    for (const TypeNameEntry& entry : TypeNames) {
        if (entry.Type == type) return entry.Name;
    }
    return {};
}

void WalkResources(const ByteView& root, const ResourceDataResolver& resolve, const CodePage& codePage,
                   TResourceData& items) {
    Walker(root, resolve, codePage, items).Run();
}

}  // namespace fw::pe
