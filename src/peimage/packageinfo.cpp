#include "peimage/packageinfo.h"

#include <cstring>

#include "base/asciitext.h"
#include "peimage/fileview.h"
#include "peimage/moduleimage.h"

namespace fw::pe {

namespace {

// Reads a PACKAGEINFO payload front to back; every read is checked against its end.
class PackageInfoReader {
public:
    PackageInfoReader(ByteSpan payload, const std::string& moduleName)
        : payload_(payload), module_(moduleName) {}

    std::uint32_t TakeU32() {
        if (payload_.size() - position_ < 4) Damaged();
        const std::uint32_t value = LoadLe32(payload_.data() + position_);
        position_ += 4;
        return value;
    }

    std::uint32_t TakeCount() {
        const std::uint32_t count = TakeU32();
        if (count & 0x80000000u) Damaged();
        return count;
    }

    // Skips the entry's fixed bytes and takes its zero-ended name.
    std::string_view TakeEntry(std::size_t fixedBytes, std::uint8_t* firstByte = nullptr) {
        std::optional<std::string_view> name = TryEntry(fixedBytes, firstByte);
        if (!name) Damaged();
        return *name;
    }

    // As TakeEntry, but nothing (and nothing consumed) when the rest cannot hold the entry.
    std::optional<std::string_view> TryEntry(std::size_t fixedBytes, std::uint8_t* firstByte = nullptr) {
        const std::size_t left = payload_.size() - position_;
        if (left <= fixedBytes) return std::nullopt;
        const std::uint8_t* start = payload_.data() + position_ + fixedBytes;
        const void* zero = std::memchr(start, 0, left - fixedBytes);
        if (!zero) return std::nullopt;
        const auto length = static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - start);
        if (firstByte) *firstByte = payload_[position_];
        position_ += fixedBytes + length + 1;
        return std::string_view(reinterpret_cast<const char*>(start), std::min(length, MaxPackageNameLength));
    }

private:
    [[noreturn]] void Damaged() const {
        throw EPackageError("Package information for package '" + module_ + "' is damaged");
    }

    ByteSpan payload_;
    const std::string& module_;
    std::size_t position_ = 0;
};

constexpr const char* OptionTexts[] = {"NeverBuild,", "DesignOnly,", "RunOnly,", "IgnoreDupUnits,"};

}  // namespace

void WalkPackageInfo(ByteSpan payload, const std::string& moduleName, const PackageVisitor& visit,
                     std::uint32_t& flags) {
    PackageInfoReader reader(payload, moduleName);
    flags = reader.TakeU32();
    for (std::uint32_t i = 0, count = reader.TakeCount(); i < count; ++i)
        visit(reader.TakeEntry(1), PackageEntryKind::RequiredPackage, 0);
    for (std::uint32_t i = 0, count = reader.TakeCount(); i < count; ++i) {
        std::uint8_t unitFlags = 0;
        const std::string_view name = reader.TakeEntry(2, &unitFlags);
        visit(name, PackageEntryKind::ContainedUnit, unitFlags);
    }
    // Deliberately lenient: the DCP/BPI name entry is read only when the bytes left can
    // hold it. Executables set bit 30 without carrying the entry, and packages of older
    // compilers end in zero padding after the contains list; requiring the entry would
    // reject both.
    if (flags & PackageHasDcpBpiName) {
        if (const std::optional<std::string_view> name = reader.TryEntry(1))
            visit(*name, PackageEntryKind::DcpBpiName, 0);
    }
}

TResourceData ListModuleResources(const ModuleImage& module, const CodePage& codePage) {
    TResourceData items;
    const std::optional<DataDirectory> directory = module.DataDirectory(ResourceDirectoryIndex);
    if (!directory || directory->Size == 0) return items;
    const std::optional<ByteSpan> root = module.SectionRemainder(directory->VirtualAddress);
    if (!root) return items;
    const ResourceDataResolver resolve = [&module](std::uint32_t rva, std::uint32_t size) {
        return module.BytesAtRva(rva, size);
    };
    try {
        WalkResources(ByteView(*root), resolve, codePage, items);
    } catch (const fw::Exception&) {
        // The resources found before the damage stay usable.
    }
    return items;
}

const ResourceItem* FindTypedResource(const TResourceData& resources, std::int32_t type,
                                      std::string_view name) {
    for (const ResourceItem& item : resources) {
        if (item.ResType == type && EqualsIgnoringCase(item.Name, name)) return &item;
    }
    return nullptr;
}

void WalkPackageInfo(const ModuleImage& module, const PackageVisitor& visit, std::uint32_t& flags) {
    const TResourceData resources = ListModuleResources(module);
    const ResourceItem* info = FindTypedResource(resources, ResourceTypeRcData, "PACKAGEINFO");
    const std::string name = module.FileName();
    if (!info) throw EPackageError("Cannot access package information for package '" + name + "'");
    WalkPackageInfo(info->Data, name, visit, flags);
}

std::string DecodeDescription(ByteSpan payload, const CodePage& codePage) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < payload.size(); i += 2) {
        const auto unit = static_cast<char16_t>(LoadLe16(payload.data() + i));
        if (unit == 0) break;
        text.push_back(unit);
    }
    return codePage.Encode(text);
}

std::string ReadPackageDescription(const ModuleImage& module, const CodePage& codePage) {
    const TResourceData resources = ListModuleResources(module, codePage);
    const ResourceItem* description = FindTypedResource(resources, ResourceTypeRcData, "DESCRIPTION");
    return description ? DecodeDescription(description->Data, codePage) : std::string();
}

std::string ReadPackageDescription(const std::string& path, const CodePage& codePage) {
    std::string why;
    const std::unique_ptr<FileView> file = FileView::Open(path, &why);
    std::unique_ptr<ModuleImage> module;
    if (file) module = ModuleImage::Load(file->Bytes(), path, &why);
    if (!module) throw EPackageError("Can't load package " + path + ".\r\n" + why);
    return ReadPackageDescription(*module, codePage);
}

const char* ReportPageName(ReportPage page) {
    switch (page) {
        case ReportPage::Header:
            return "Header";
        case ReportPage::Classes:
            return "Classes";
        case ReportPage::Forms:
            return "Forms";
        case ReportPage::Flags:
            return "Flags";
    }
    return "";
}

std::optional<ReportPage> ReportPageFromName(std::string_view name) {
    for (ReportPage page : {ReportPage::Header, ReportPage::Classes, ReportPage::Forms, ReportPage::Flags}) {
        if (EqualsIgnoringCase(name, ReportPageName(page))) return page;
    }
    return std::nullopt;
}

void BuildPackageReport(ReportPage page, const PackageReportInputs& inputs, std::vector<std::string>& lines) {
    lines.clear();
    switch (page) {
        case ReportPage::Header:
            lines.emplace_back("requires");
            for (const std::string& name : inputs.RequiredPackages)
                lines.push_back("  " + name);
            lines.emplace_back("contains");
            for (const std::string& name : inputs.ContainedUnits)
                lines.push_back("  " + name);
            break;
        case ReportPage::Classes:
            if (inputs.ClassesScanned)
                lines = inputs.ClassNames;
            else
                lines.emplace_back(ClassesNotScannedText);
            break;
        case ReportPage::Forms:
            lines = inputs.FormNames;
            break;
        case ReportPage::Flags: {
            if (!inputs.HasPackageInfo) {
                lines.emplace_back(NoPackageInfoText);
                break;
            }
            std::string options;
            for (int bit = 0; bit < 4; ++bit) {
                if (inputs.Flags & (1u << bit)) options += OptionTexts[bit];
            }
            if (!options.empty()) options.pop_back();
            lines.push_back("Options: " + options);
            switch ((inputs.Flags >> PackageModuleTypeShift) & 3u) {
                case 1:
                    lines.emplace_back("Type: Package");
                    break;
                case 2:
                    lines.emplace_back("Type: Library");
                    break;
                default:  // 0, and the undefined 3
                    lines.emplace_back("Type: Executable");
                    break;
            }
            switch ((inputs.Flags >> PackageProducerShift) & 3u) {
                case 0:
                    lines.emplace_back("Producer: Delphi 3 or C++ Builder 3");
                    break;
                case 2:
                    lines.emplace_back("Producer: C++ Builder 4 or later");
                    break;
                case 3:
                    lines.emplace_back("Producer: Delphi 4 or later");
                    break;
                default:  // 1 is undefined and gets no line
                    break;
            }
            break;
        }
    }
}

}  // namespace fw::pe
