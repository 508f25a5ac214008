#include "samplemodule.h"

namespace fwtest {

const std::vector<SampleClass>& SampleClasses() {
    static const std::vector<SampleClass> classes = {
        {"TGaugeOld", 64},
        {"TSampleButton", 76},
        {"TSample_Panel2", 88},
    };
    return classes;
}

const std::vector<std::string>& SampleRequires() {
    static const std::vector<std::string> names = {"rtl", "vcl"};
    return names;
}

const std::vector<std::string>& SampleContains() {
    static const std::vector<std::string> names = {"SampleReg", "SampleButtons", "SamplePanels"};
    return names;
}

Bytes SampleCode(std::uint64_t sectionAddress) {
    Bytes code(0x800, 0x90);
    std::size_t at = 0x40;
    for (const SampleClass& c : SampleClasses()) {
        PutClassRecord(code, sectionAddress, at, c.Distance, at + c.Distance + 0x40, c.Name);
        at += 0x100;
    }
    return code;
}

PeWriter SampleModule(bool pe32Plus) {
    PeWriter pe(pe32Plus);
    const std::uint32_t codeRva = pe.NextSectionRva();
    pe.AddSection("CODE", SampleCode(pe.ImageBase() + codeRva));
    pe.AddSection("DATA", Bytes(0x300, 0));

    using R = ResourceId;
    pe.AddResource({R::Num(10), R::Str("TFORM1"), 1033, SmallForm("Form1", "English"), 1252});
    pe.AddResource({R::Num(10), R::Str("TFORM1"), 1031, SmallForm("Form1", "Deutsch"), 1252});
    pe.AddResource({R::Num(10), R::Str("TABOUT"), 0, SmallForm("About"), 0});
    pe.AddResource({R::Num(2), R::Str("TABOUT"), 0, BytesOf("BM not a form"), 0});
    pe.AddResource({R::Num(10), R::Str("SHORT"), 0, BytesOf("TPF"), 0});
    pe.AddResource({R::Num(10), R::Str("DATA1"), 0, BytesOf("plain bytes"), 0});
    pe.AddResource(
        {R::Num(10), R::Str("PACKAGEINFO"), 0,
         PackageInfoPayload(SampleFlags, SampleRequires(), SampleContains(), std::string("Sample")), 0});
    pe.AddResource({R::Num(10), R::Str("DESCRIPTION"), 0, DescriptionPayload(SampleDescription), 0});
    pe.AddResource({R::Str("PNG"), R::Str("LOGO"), 0, BytesOf("\x89PNG"), 0});
    pe.AddResource({R::Str("registry"), R::Num(101), 0, BytesOf("HKCR"), 0});
    pe.AddResource({R::Num(240), R::Num(1), 0, BytesOf("dlginit"), 0});
    pe.AddResource({R::Num(16), R::Num(1), 1033, BytesOf("version"), 1200});
    return pe;
}

}  // namespace fwtest
