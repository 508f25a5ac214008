#pragma once
// PeFile: the read-only PE image reader. It opens a Windows executable, DLL,
// ActiveX control, control-panel applet or package, and publishes what the extraction
// and package dialogs and package loading need, as plain values: the resources, the
// names of the form resources, the compiled classes of 32-bit modules, the package
// information and the description. Nothing from the file is ever run.
//
// The file is looked at in two ways: the file view (the whole file, mapped read-only)
// for the headers and the resources, and the module image (the file laid out at its
// virtual addresses, see ModuleImage) for the class scan and the package information.
//
// Every header, directory, entry, name, data range and class record is checked against
// the view or the image before it is read. A file that cannot be read, is not a PE file
// or is damaged gives empty or partial results, never an error from Open.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/codepage.h"
#include "base/errors.h"
#include "base/stream.h"
#include "peimage/classscan.h"
#include "peimage/moduleimage.h"
#include "peimage/packageinfo.h"
#include "peimage/peheaders.h"
#include "peimage/resources.h"

namespace fw::pe {

class FileView;

// A resource lookup failed.
class EPEException : public fw::Exception {
public:
    using fw::Exception::Exception;
};

class PeFile {
public:
    // An empty reader. Resource labels and the description are converted to codePage,
    // which must outlive the reader.
    explicit PeFile(const CodePage& codePage = CodePage::Default());
    ~PeFile();
    PeFile(const PeFile&) = delete;
    PeFile& operator=(const PeFile&) = delete;

    // Clears, then reads the file at path. Returns nothing and raises nothing for files
    // it cannot use: a missing or unreadable file, or one that is not a PE file, leaves
    // every result empty. The steps after the headers (resource walk, form list, class
    // scan for 32-bit files, package lists, description) each run on their own: damage
    // met in one ends that step, keeping what it found, and the later steps still run.
    void Open(const std::string& path);
    // Releases the file view and the module image and empties every result.
    void Clear();

    // The path given to the last Open; empty after Clear.
    const std::string& ImagePath() const { return imagePath_; }
    // Why the file could not be read (the system's reason), when it could not.
    const std::string& FileError() const { return fileError_; }
    // True when the file was read and has valid "MZ" and "PE" headers.
    bool IsPEImage() const { return headers_.has_value(); }
    bool IsPE32Plus() const { return headers_ && headers_->Pe32Plus; }
    // The parsed headers, when IsPEImage().
    const PeHeaders* Headers() const { return headers_ ? &*headers_ : nullptr; }
    // The whole file as mapped; empty when no file is held.
    ByteSpan FileBytes() const;
    // The module image, or nullptr when the file could not be laid out as one.
    const ModuleImage* Module() const { return module_.get(); }

    // The file offset of a relative virtual address (see RvaToFileOffset); nothing when
    // no PE file is held or the address cannot be placed in the file.
    std::optional<std::uint64_t> RvaToOffset(std::uint32_t rva) const;

    // Every resource in directory walk order.
    const TResourceData& Resources() const { return resources_; }
    // The names of the RCDATA resources that begin with "TPF0", in walk order; a form
    // present in several languages is listed once per language.
    const std::vector<std::string>& FormNames() const { return formNames_; }
    // The compiled classes of a 32-bit module, in ascending address order.
    const std::vector<ClassReference>& ClassRefs() const { return classRefs_; }
    // The class names of ClassRefs, in the same order.
    std::vector<std::string> ClassNames() const;
    const std::vector<std::string>& RequiredPackages() const { return requiredPackages_; }
    const std::vector<std::string>& ContainedUnits() const { return containedUnits_; }
    // The PACKAGEINFO flags word; 0 when there is none.
    std::uint32_t PackageFlags() const { return packageFlags_; }
    // The package description; empty when there is none.
    const std::string& Description() const { return description_; }
    // Whether the module image has a PACKAGEINFO resource, decodable or not.
    bool HasPackageInfo() const { return hasPackageInfo_; }
    // What the package report is made of: the lists above, the flags, whether there is
    // package information, and whether the class scan looked at the file (not for 64-bit
    // files).
    PackageReportInputs ReportInputs() const;

    // A copy of the first resource in walk order, of any type, whose name equals name
    // ignoring ASCII case. Throws EPEException "Cannot retrieve resource by name "NAME""
    // when there is none. The copy's Data is valid while this reader holds the file.
    ResourceItem FindResourceByName(std::string_view name) const;

private:
    void Analyse();
    void WalkFileResources();
    void ListForms();
    void ReadPackageLists(const TResourceData& moduleResources);

    const CodePage* codePage_;
    std::string imagePath_;
    std::string fileError_;
    std::unique_ptr<FileView> file_;
    std::unique_ptr<ModuleImage> module_;
    std::optional<PeHeaders> headers_;
    TResourceData resources_;
    std::vector<std::string> formNames_;
    std::vector<ClassReference> classRefs_;
    std::vector<std::string> requiredPackages_;
    std::vector<std::string> containedUnits_;
    std::uint32_t packageFlags_ = 0;
    bool hasPackageInfo_ = false;
    std::string description_;
};

// A read-only stream over one resource's bytes, positioned at 0 when created. It does
// not copy them and is valid only while the reader that found the resource holds its
// file. Writing is refused with EStreamError "Stream write error".
class ResourceStream final : public fw::Stream {
public:
    explicit ResourceStream(const ResourceItem& item) : view_(item.Data) {}

    std::size_t Read(void* buffer, std::size_t n) override { return view_.Read(buffer, n); }
    void Write(const void* buffer, std::size_t n) override;
    std::int64_t Position() const override { return view_.Position(); }
    void Seek(std::int64_t position) override { view_.Seek(position); }
    std::int64_t Size() const override { return view_.Size(); }
    ByteSpan ContiguousRemainder() const override { return view_.ContiguousRemainder(); }
    bool IsContiguous() const override { return true; }

private:
    ByteViewStream view_;
};

// The form text of the resource when it begins with "TPF0": the binary form stream
// converted with BinaryFormToText. Any other resource gives empty text. The conversion's
// exceptions (for a damaged form) go to the caller.
std::string ResourceToFormText(const ResourceItem& item, const CodePage& codePage = CodePage::Default());

}  // namespace fw::pe
