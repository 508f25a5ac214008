#include "testpackage.h"

#include <algorithm>
#include <map>
#include <stdexcept>
#include <utility>

namespace fwtest {

namespace {

// The CODE section as it is written: bytes, places by label, and the address fields
// that point at labels, filled in once every label is placed.
class CodeLayout {
public:
    Bytes Code;

    void Align4() {
        while (Code.size() % 4)
            Code.push_back(0);
    }
    void Label(const std::string& name) { labels_[name] = Code.size(); }
    void LabelAt(const std::string& name, std::size_t at) { labels_[name] = at; }
    std::size_t At(const std::string& name) const { return labels_.at(name); }
    void U8(std::uint8_t value) { Code.push_back(value); }
    void U16(std::uint16_t value) { PutU16(Code, Code.size(), value); }
    void U32(std::uint32_t value) { PutU32(Code, Code.size(), value); }
    void ShortString(const std::string& text) {
        Code.push_back(static_cast<std::uint8_t>(text.size()));
        Code.insert(Code.end(), text.begin(), text.end());
    }
    // An address field at offset at that will point at the label.
    void RefAt(std::size_t at, const std::string& label) {
        PutU32(Code, at, 0);
        fixups_.emplace_back(at, label);
    }
    void Ref(const std::string& label) { RefAt(Code.size(), label); }

    void Resolve(std::uint64_t sectionAddress) {
        for (const auto& [at, label] : fixups_)
            PutU32(Code, at, static_cast<std::uint32_t>(sectionAddress + labels_.at(label)));
    }

private:
    std::map<std::string, std::size_t> labels_;
    std::vector<std::pair<std::size_t, std::string>> fixups_;
};

std::string Key(const TestImportRef& ref) {
    return ref.Module + "!" + ref.Symbol;
}

}  // namespace

Bytes BuildTestPackage(const TestPackage& package) {
    PeWriter pe;

    // The imports first: their slots' addresses go into the code.
    std::vector<TestImport> imports;
    std::vector<std::string> importKeys;
    const auto need = [&](const TestImportRef& ref) {
        if (ref.Symbol.empty()) return;
        for (const std::string& key : importKeys)
            if (key == Key(ref)) return;
        importKeys.push_back(Key(ref));
        auto module = std::find_if(imports.begin(), imports.end(),
                                   [&](const TestImport& m) { return m.Module == ref.Module; });
        if (module == imports.end()) module = imports.insert(imports.end(), TestImport{ref.Module, {}});
        module->Names.push_back(ref.Symbol);
    };
    for (const TestClass& c : package.Classes) {
        need(c.ParentImport);
        for (const TestProperty& p : c.Properties)
            need(p.Type.Import);
    }
    for (const TestType& t : package.Types)
        need(t.Element.Import);
    std::map<std::string, std::uint32_t> slotOf;
    if (!imports.empty()) {
        const std::vector<std::uint32_t> slots = pe.AddImports(imports);
        std::size_t i = 0;
        for (const TestImport& module : imports)
            for (const std::string& symbol : module.Names)
                slotOf[module.Module + "!" + symbol] =
                    static_cast<std::uint32_t>(pe.ImageBase() + slots[i++]);
    }

    CodeLayout code;
    // The initialisation and finalisation entries: a return instruction each.
    const Bytes entries(16, 0xC3);
    if (!package.CppLayout) code.Code = entries;
    const auto putTypeRef = [&](const TestTypeRef& ref) {
        if (ref.LocalType >= 0)
            code.Ref("cell:type:" + std::to_string(ref.LocalType));
        else if (ref.LocalClass >= 0)
            code.Ref("cell:class:" + std::to_string(ref.LocalClass));
        else if (!ref.Import.Symbol.empty())
            code.U32(slotOf.at(Key(ref.Import)));
        else
            code.U32(0);
    };

    // Class records: self pointer, tables, type information, name, instance size,
    // parent, zeros up to the class reference, two virtual method slots, the name.
    for (std::size_t i = 0; i < package.Classes.size(); ++i) {
        const TestClass& c = package.Classes[i];
        const std::string id = std::to_string(i);
        if (package.CppLayout) {
            code.Label("name:" + id);
            code.ShortString(c.Name);
        }
        code.Align4();
        const std::size_t at = code.Code.size();
        code.Code.resize(at + c.Distance + 8, 0);
        code.LabelAt("self:" + id, at);
        code.LabelAt("class:" + id, at + c.Distance);
        code.RefAt(at, "class:" + id);
        if (c.HasTypeInfo) code.RefAt(at + 16, "ti:class:" + id);
        code.RefAt(at + 32, "name:" + id);
        PutU32(code.Code, at + 36, 12);
        if (c.ParentLocal >= 0)
            code.RefAt(at + 40, (c.ParentDirect ? "class:" : "self:") + std::to_string(c.ParentLocal));
        else if (!c.ParentImport.Symbol.empty())
            PutU32(code.Code, at + 40, slotOf.at(Key(c.ParentImport)));
        if (!package.CppLayout) {
            code.Label("name:" + id);
            code.ShortString(c.Name);
        }
    }

    // The package's own types, each after a cell that holds its address.
    for (std::size_t j = 0; j < package.Types.size(); ++j) {
        const TestType& t = package.Types[j];
        const std::string id = std::to_string(j);
        code.Align4();
        code.Label("cell:type:" + id);
        code.Ref("ti:type:" + id);
        code.Label("ti:type:" + id);
        code.U8(t.Kind);
        code.ShortString(t.Name);
        switch (t.Kind) {
            case kind::Enumeration:
                code.U8(1);  // unsigned byte
                code.U32(0);
                code.U32(static_cast<std::uint32_t>(t.EnumNames.size()) - 1);
                if (t.Element.LocalType >= 0 || !t.Element.Import.Symbol.empty())
                    putTypeRef(t.Element);
                else
                    code.Ref("cell:type:" + id);  // its own base type
                for (const std::string& name : t.EnumNames)
                    code.ShortString(name);
                code.ShortString("TestUnit");
                break;
            case kind::Set:
                code.U8(1);
                putTypeRef(t.Element);
                break;
            case kind::Integer:
            case kind::Char:
            case kind::WChar:
                code.U8(4);  // signed long
                code.U32(0x80000000u);
                code.U32(0x7FFFFFFFu);
                break;
            case kind::Float:
                code.U8(t.FloatType);
                break;
            case kind::ShortString:
                code.U8(255);
                break;
            case kind::Method:
                code.U8(0);  // procedure
                code.U8(0);  // no parameters
                break;
            default:
                break;
        }
    }

    // Each class's type information, after a cell that holds its address.
    for (std::size_t i = 0; i < package.Classes.size(); ++i) {
        const TestClass& c = package.Classes[i];
        if (!c.HasTypeInfo) continue;
        const std::string id = std::to_string(i);
        code.Align4();
        code.Label("cell:class:" + id);
        code.Ref("ti:class:" + id);
        code.Label("ti:class:" + id);
        code.U8(kind::Class);
        code.ShortString(c.Name);
        code.Ref("class:" + id);
        if (c.ParentLocal >= 0 && package.Classes[static_cast<std::size_t>(c.ParentLocal)].HasTypeInfo)
            code.Ref("cell:class:" + std::to_string(c.ParentLocal));
        else
            code.U32(0);
        code.U16(static_cast<std::uint16_t>(c.Properties.size()));
        code.ShortString(c.Unit);
        code.U16(static_cast<std::uint16_t>(c.Properties.size()));
        for (std::size_t k = 0; k < c.Properties.size(); ++k) {
            const TestProperty& p = c.Properties[k];
            putTypeRef(p.Type);
            code.U32(0xFF000010u + 4 * static_cast<std::uint32_t>(k));  // getter: a field
            code.U32(0xFF000010u + 4 * static_cast<std::uint32_t>(k));  // setter: the same field
            code.U32(1);                                                // stored: always
            code.U32(0x80000000u);                                      // no index
            code.U32(static_cast<std::uint32_t>(p.Default));
            code.U16(static_cast<std::uint16_t>(k));
            code.ShortString(p.Name);
        }
    }
    code.Align4();
    code.Code.resize(code.Code.size() + 16, 0);

    std::uint32_t entryRva = 0;
    std::uint32_t recordsRva = 0;
    if (package.CppLayout) {
        entryRva = pe.AddSection(".text", entries);
        recordsRva = pe.NextSectionRva();
        code.Resolve(pe.ImageBase() + recordsRva);
        pe.AddSection(".data", code.Code);
    } else {
        entryRva = recordsRva = pe.NextSectionRva();
        code.Resolve(pe.ImageBase() + recordsRva);
        pe.AddSection("CODE", code.Code);
        pe.AddSection("DATA", Bytes(0x200, 0));
    }

    std::vector<TestExport> exports = {{"Finalize", entryRva + 8}};
    if (package.ExportInitialize) exports.push_back({"Initialize", entryRva});
    for (std::size_t i = 0; i < package.Classes.size(); ++i) {
        const TestClass& c = package.Classes[i];
        exports.push_back({"@" + c.Unit + "@" + c.Name + "@",
                           recordsRva + static_cast<std::uint32_t>(code.At("class:" + std::to_string(i)))});
    }
    pe.AddExports(package.ModuleName, exports);

    using R = ResourceId;
    if (package.HasPackageInfo)
        pe.AddResource({R::Num(10), R::Str("PACKAGEINFO"), 0,
                        PackageInfoPayload(package.Flags, package.Requires, package.Contains), 0});
    pe.AddResource({R::Num(10), R::Str("DESCRIPTION"), 0, DescriptionPayload(u"Test components"), 0});
    return pe.Build().File;
}

}  // namespace fwtest
