#include "peimage/pefile.h"

#include <cstring>
#include <new>

#include "base/asciitext.h"
#include "codec/conversion.h"
#include "codec/formformat.h"
#include "peimage/fileview.h"
#include "peimage/packageinfo.h"

namespace fw::pe {

namespace {

// Runs one step of the analysis: damage found by the step (a reference outside the
// file, an undecodable resource) or memory running out ends that step alone.
template <typename Step>
void RunStep(Step step) {
    try {
        step();
    } catch (const fw::Exception&) {
    } catch (const std::bad_alloc&) {
    }
}

bool BeginsWithFormSignature(ByteSpan bytes) {
    return bytes.size() >= FormSignature.size() &&
           std::memcmp(bytes.data(), FormSignature.data(), FormSignature.size()) == 0;
}

}  // namespace

PeFile::PeFile(const CodePage& codePage) : codePage_(&codePage) {}

PeFile::~PeFile() {
    Clear();
}

void PeFile::Clear() {
    // The image refers to the file's bytes, so it goes first.
    module_.reset();
    file_.reset();
    headers_.reset();
    imagePath_.clear();
    fileError_.clear();
    resources_.clear();
    formNames_.clear();
    classRefs_.clear();
    requiredPackages_.clear();
    containedUnits_.clear();
    packageFlags_ = 0;
    hasPackageInfo_ = false;
    description_.clear();
}

ByteSpan PeFile::FileBytes() const {
    return file_ ? file_->Bytes() : ByteSpan();
}

void PeFile::Open(const std::string& path) {
    Clear();
    imagePath_ = path;
    try {
        file_ = FileView::Open(path, &fileError_);
    } catch (const std::bad_alloc&) {
        fileError_ = "Not enough memory";
    }
    if (!file_) return;
    RunStep([&] { module_ = ModuleImage::Load(file_->Bytes(), path); });
    Analyse();
}

void PeFile::Analyse() {
    const ByteView file(file_->Bytes());
    headers_ = ReadPeHeaders(file);
    if (!headers_) return;

    RunStep([&] { WalkFileResources(); });
    RunStep([&] { ListForms(); });
    // 64-bit modules keep no class list the scan could find.
    if (!headers_->Pe32Plus && module_) RunStep([&] { classRefs_ = ScanClasses(*module_); });
    if (!module_) return;
    // One listing of the image's resources serves the package lists and the description.
    TResourceData moduleResources;
    RunStep([&] { moduleResources = ListModuleResources(*module_, *codePage_); });
    RunStep([&] { ReadPackageLists(moduleResources); });
    RunStep([&] {
        const ResourceItem* description =
            FindTypedResource(moduleResources, ResourceTypeRcData, "DESCRIPTION");
        if (description) description_ = DecodeDescription(description->Data, *codePage_);
    });
}

void PeFile::WalkFileResources() {
    const ByteView file(file_->Bytes());
    const std::optional<DataDirectory> directory = ReadDataDirectory(file, *headers_, ResourceDirectoryIndex);
    if (!directory || directory->Size == 0) return;
    const std::optional<std::uint64_t> root = RvaToFileOffset(*headers_, directory->VirtualAddress);
    if (!root || *root >= file.Size()) return;
    const ResourceDataResolver resolve = [&](std::uint32_t rva,
                                             std::uint32_t size) -> std::optional<ByteSpan> {
        const std::optional<std::uint64_t> offset = RvaToFileOffset(*headers_, rva);
        if (!offset || !file.Contains(*offset, size)) return std::nullopt;
        return file.Slice(*offset, size);
    };
    WalkResources(file.From(*root), resolve, *codePage_, resources_);
}

void PeFile::ListForms() {
    for (const ResourceItem& item : resources_) {
        if (item.ResType == ResourceTypeRcData && BeginsWithFormSignature(item.Data))
            formNames_.push_back(item.Name);
    }
}

void PeFile::ReadPackageLists(const TResourceData& moduleResources) {
    const ResourceItem* info = FindTypedResource(moduleResources, ResourceTypeRcData, "PACKAGEINFO");
    const std::string moduleName = module_->FileName();
    hasPackageInfo_ = info != nullptr;

    // Two walks, each keeping one kind. A walk that fails, for a missing resource too,
    // leaves its list empty rather than half filled.
    const auto walk = [&](PackageEntryKind wanted, std::vector<std::string>& list) {
        try {
            if (!info)
                throw EPackageError("Cannot access package information for package '" + moduleName + "'");
            WalkPackageInfo(
                info->Data, moduleName,
                [&](std::string_view name, PackageEntryKind kind, std::uint8_t) {
                    if (kind == wanted) list.emplace_back(name);
                },
                packageFlags_);
        } catch (const fw::Exception&) {
            list.clear();
        } catch (const std::bad_alloc&) {
            list.clear();
        }
    };
    walk(PackageEntryKind::RequiredPackage, requiredPackages_);
    walk(PackageEntryKind::ContainedUnit, containedUnits_);
}

std::optional<std::uint64_t> PeFile::RvaToOffset(std::uint32_t rva) const {
    if (!headers_) return std::nullopt;
    return RvaToFileOffset(*headers_, rva);
}

std::vector<std::string> PeFile::ClassNames() const {
    std::vector<std::string> names;
    names.reserve(classRefs_.size());
    for (const ClassReference& ref : classRefs_)
        names.push_back(ref.Name);
    return names;
}

PackageReportInputs PeFile::ReportInputs() const {
    return {requiredPackages_, containedUnits_, ClassNames(), formNames_,
            packageFlags_,     hasPackageInfo_, !IsPE32Plus()};
}

ResourceItem PeFile::FindResourceByName(std::string_view name) const {
    for (const ResourceItem& item : resources_) {
        if (EqualsIgnoringCase(item.Name, name)) return item;
    }
    throw EPEException("Cannot retrieve resource by name \"" + std::string(name) + "\"");
}

void ResourceStream::Write(const void*, std::size_t) {
    // The bytes belong to the mapped file, which is never written.
    throw EStreamError("Stream write error");
}

std::string ResourceToFormText(const ResourceItem& item, const CodePage& codePage) {
    ResourceStream stream(item);
    char signature[4] = {};
    if (stream.Read(signature, sizeof signature) != sizeof signature ||
        std::memcmp(signature, FormSignature.data(), sizeof signature) != 0)
        return {};
    stream.Seek(0);
    MemoryStream text;
    BinaryFormToText(stream, text, codePage);
    const Bytes& bytes = text.Data();
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

}  // namespace fw::pe
