// The reader on well-formed files made by the test PE writer: the resource list, the
// form list, resource lookup and conversion, the class list, the package lists and the
// description, in PE32 and PE32+; and the files that are no PE files at all.

#include <gtest/gtest.h>

#include <cstring>

#include "base/errors.h"
#include "codec/conversion.h"
#include "codec/textlines.h"
#include "peimage/packageinfo.h"
#include "peimage/pefile.h"
#include "pewriter.h"
#include "samplemodule.h"

namespace {

using fw::pe::PeFile;
using fw::pe::ResourceItem;
using namespace fwtest;

std::string FormText(const Bytes& stream) {
    fw::ByteViewStream input(stream);
    fw::MemoryStream output;
    fw::BinaryFormToText(input, output);
    return std::string(output.Data().begin(), output.Data().end());
}

void ExpectEmpty(const PeFile& pe) {
    EXPECT_TRUE(pe.Resources().empty());
    EXPECT_TRUE(pe.FormNames().empty());
    EXPECT_TRUE(pe.ClassRefs().empty());
    EXPECT_TRUE(pe.RequiredPackages().empty());
    EXPECT_TRUE(pe.ContainedUnits().empty());
    EXPECT_EQ(pe.PackageFlags(), 0u);
    EXPECT_EQ(pe.Description(), "");
}

class ReaderBothFormats : public ::testing::TestWithParam<bool> {
protected:
    TempDir dir_;
};

TEST_P(ReaderBothFormats, ListsResourcesInDirectoryOrderWithLabelsAndTypeNames) {
    const std::string path = dir_.Write("sample.bpl", SampleModule(GetParam()).Build().File);
    PeFile pe;
    pe.Open(path);
    ASSERT_TRUE(pe.IsPEImage());
    EXPECT_EQ(pe.IsPE32Plus(), GetParam());
    EXPECT_EQ(pe.ImagePath(), path);

    struct Row {
        std::string TypeName, Name, Language;
        std::uint32_t CodePage;
        std::size_t Size;
    };
    // Named types first, then numbered ones ascending; within a type, named entries
    // first, then numbers; languages ascending.
    const std::vector<Row> expected = {
        {"\"PNG\"", "LOGO", "0", 0, 4},
        {"REGISTRY", "101", "0", 0, 4},
        {"BITMAP", "TABOUT", "0", 0, 13},
        {"RCDATA", "DATA1", "0", 0, 11},
        {"RCDATA", "DESCRIPTION", "0", 0, 2 * (std::char_traits<char16_t>::length(SampleDescription) + 1)},
        {"RCDATA", "PACKAGEINFO", "0", 0, 0},
        {"RCDATA", "SHORT", "0", 0, 3},
        {"RCDATA", "TABOUT", "0", 0, 0},
        {"RCDATA", "TFORM1", "1031", 1252, 0},
        {"RCDATA", "TFORM1", "1033", 1252, 0},
        {"VERSION", "1", "1033", 1200, 7},
        {"\"240\"", "1", "0", 0, 7},
    };
    const fw::pe::TResourceData& items = pe.Resources();
    ASSERT_EQ(items.size(), expected.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(items[i].TypeName, expected[i].TypeName);
        EXPECT_EQ(items[i].Name, expected[i].Name);
        EXPECT_EQ(items[i].Language, expected[i].Language);
        EXPECT_EQ(items[i].CodePage, expected[i].CodePage);
        EXPECT_EQ(items[i].Size, items[i].Data.size());
        if (expected[i].Size != 0) {
            EXPECT_EQ(items[i].Size, expected[i].Size);
        }
        // The data lies where the data entry's RVA puts it in the file.
        const auto offset = pe.RvaToOffset(items[i].OffsetToData);
        ASSERT_TRUE(offset.has_value());
        EXPECT_EQ(items[i].Data.data(), pe.FileBytes().data() + *offset);
    }
    // A named type keeps its raw name field (high bit set), except the three remapped ones.
    EXPECT_LT(items[0].ResType, 0);
    EXPECT_EQ(items[1].ResType, 125);
    EXPECT_EQ(items[2].ResType, 2);
    EXPECT_EQ(items[3].ResType, 10);
    EXPECT_EQ(items.back().ResType, 240);
}

TEST_P(ReaderBothFormats, ListsFormsOncePerLanguageAndConvertsThem) {
    PeFile pe;
    pe.Open(dir_.Write("sample.exe", SampleModule(GetParam()).Build().File));
    // The bitmap, the short RCDATA and the plain data are no forms.
    EXPECT_EQ(pe.FormNames(), (std::vector<std::string>{"TABOUT", "TFORM1", "TFORM1"}));

    // Both entries of TFORM1 find the first language in walk order.
    const ResourceItem form = pe.FindResourceByName("tForm1");
    EXPECT_EQ(form.Language, "1031");
    const std::string text = fw::pe::ResourceToFormText(form);
    EXPECT_EQ(text, FormText(SmallForm("Form1", "Deutsch")));
    EXPECT_EQ(fw::FirstTextLine(text), "object Form1: TForm1");

    // A bitmap named like a form is found first and converts to no text.
    const ResourceItem shadow = pe.FindResourceByName("TABOUT");
    EXPECT_EQ(shadow.TypeName, "BITMAP");
    EXPECT_TRUE(fw::pe::ResourceToFormText(shadow).empty());

    EXPECT_TRUE(fw::pe::ResourceToFormText(pe.FindResourceByName("SHORT")).empty());

    try {
        (void)pe.FindResourceByName("TFORM2");
        FAIL() << "no exception";
    } catch (const fw::pe::EPEException& error) {
        EXPECT_STREQ(error.what(), "Cannot retrieve resource by name \"TFORM2\"");
    }
}

TEST_P(ReaderBothFormats, ReadsPackageInformationFromTheModuleImage) {
    PeFile pe;
    pe.Open(dir_.Write("sample.bpl", SampleModule(GetParam()).Build().File));
    ASSERT_NE(pe.Module(), nullptr);
    EXPECT_EQ(pe.RequiredPackages(), SampleRequires());
    EXPECT_EQ(pe.ContainedUnits(), SampleContains());
    EXPECT_EQ(pe.PackageFlags(), SampleFlags);
    EXPECT_EQ(pe.Description(), fw::CodePage::Default().Encode(SampleDescription));
}

TEST_P(ReaderBothFormats, FindsClassesOnlyIn32BitModules) {
    PeFile pe;
    pe.Open(dir_.Write("sample.bpl", SampleModule(GetParam()).Build().File));
    // Regression: the Classes page of a 64-bit file was empty without a word.
    std::vector<std::string> page;
    fw::pe::BuildPackageReport(fw::pe::ReportPage::Classes, pe.ReportInputs(), page);
    if (GetParam()) {
        EXPECT_TRUE(pe.ClassRefs().empty());
        EXPECT_FALSE(pe.ReportInputs().ClassesScanned);
        EXPECT_EQ(page, std::vector<std::string>{std::string(fw::pe::ClassesNotScannedText)});
        return;
    }
    EXPECT_TRUE(pe.ReportInputs().ClassesScanned);
    EXPECT_EQ(page, pe.ClassNames());
    ASSERT_EQ(pe.ClassRefs().size(), SampleClasses().size());
    for (std::size_t i = 0; i < SampleClasses().size(); ++i) {
        const fw::pe::ClassReference& ref = pe.ClassRefs()[i];
        EXPECT_EQ(ref.Name, SampleClasses()[i].Name);
        EXPECT_EQ(ref.RecordDistance, SampleClasses()[i].Distance);
        // The self pointer in the module image holds the class reference.
        EXPECT_EQ(pe.Module()->U32(ref.Address - ref.RecordDistance), ref.Address);
    }
    EXPECT_EQ(pe.ClassNames(), (std::vector<std::string>{"TGaugeOld", "TSampleButton", "TSample_Panel2"}));
}

INSTANTIATE_TEST_SUITE_P(Formats, ReaderBothFormats, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& param) {
                             return param.param ? "PE32plus" : "PE32";
                         });

TEST(Reader, RawStreamReadsTheResourceInPlaceAndRefusesWrites) {
    TempDir dir;
    PeFile pe;
    pe.Open(dir.Write("sample.exe", SampleModule(false).Build().File));
    const ResourceItem item = pe.FindResourceByName("DATA1");
    fw::pe::ResourceStream stream(item);
    EXPECT_EQ(stream.Position(), 0);
    EXPECT_EQ(stream.Size(), 11);
    EXPECT_EQ(stream.ContiguousRemainder().data(), item.Data.data());
    char buffer[32] = {};
    EXPECT_EQ(stream.Read(buffer, sizeof buffer), 11u);
    EXPECT_EQ(std::string(buffer), "plain bytes");
    stream.Seek(6);
    EXPECT_EQ(stream.Read(buffer, 5), 5u);
    EXPECT_EQ(std::string(buffer, 5), "bytes");
    EXPECT_THROW(stream.Write("x", 1), fw::EStreamError);
    EXPECT_EQ(std::string(item.Data.begin(), item.Data.end()), "plain bytes");
}

TEST(Reader, DamagedFormReportsTheConversionErrorWithNoLines) {
    TempDir dir;
    PeWriter writer;
    Bytes damaged = SmallForm("Form1");
    damaged.resize(damaged.size() - 6);
    writer.AddResource({ResourceId::Num(10), ResourceId::Str("TFORM1"), 0, damaged, 0});
    PeFile pe;
    pe.Open(dir.Write("broken.exe", writer.Build().File));
    ASSERT_EQ(pe.FormNames(), std::vector<std::string>{"TFORM1"});
    EXPECT_THROW((void)fw::pe::ResourceToFormText(pe.FindResourceByName("TFORM1")), fw::EReadError);
}

TEST(Reader, FilesThatAreNoPEFilesGiveEmptyResults) {
    TempDir dir;
    Bytes dosOnly(0x100, 0);
    dosOnly[0] = 'M';
    dosOnly[1] = 'Z';
    PutU32(dosOnly, 0x3C, 0x80);  // NT headers position, but no "PE" there
    Bytes farHeaders = dosOnly;
    PutU32(farHeaders, 0x3C, 0xFFFFFFF0u);
    Bytes badSignature = SampleModule(false).Build().File;
    badSignature[0x80 + 1] = 'X';
    std::filesystem::create_directory(dir.Path() / "folder");

    const struct {
        std::string Name;
        std::string Path;
        bool FileError;
    } cases[] = {
        {"DOS only", dir.Write("dos.exe", dosOnly), false},
        {"NT headers past the end", dir.Write("far.exe", farHeaders), false},
        {"not PE signature", dir.Write("sig.exe", badSignature), false},
        {"text", dir.Write("form.dfm", BytesOf("object Form1: TForm1\r\nend\r\n")), false},
        {"empty", dir.Write("empty.exe", {}), false},
        {"just MZ", dir.Write("mz.exe", BytesOf("MZ")), false},
        {"missing", (dir.Path() / "missing.exe").string(), true},
        {"folder", (dir.Path() / "folder").string(), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        PeFile pe;
        EXPECT_NO_THROW(pe.Open(c.Path));
        EXPECT_EQ(pe.ImagePath(), c.Path);
        EXPECT_FALSE(pe.IsPEImage());
        EXPECT_EQ(!pe.FileError().empty(), c.FileError);
        ExpectEmpty(pe);
    }
}

TEST(Reader, NextFileWithoutPackageInformationResetsEverything) {
    TempDir dir;
    PeWriter plain;
    plain.AddResource({ResourceId::Num(10), ResourceId::Str("TMAIN"), 0, SmallForm("Main"), 0});
    const std::string packagePath = dir.Write("sample.bpl", SampleModule(false).Build().File);
    const std::string plainPath = dir.Write("plain.exe", plain.Build().File);

    PeFile pe;
    pe.Open(packagePath);
    ASSERT_NE(pe.PackageFlags(), 0u);
    EXPECT_TRUE(pe.HasPackageInfo());
    pe.Open(plainPath);
    EXPECT_EQ(pe.ImagePath(), plainPath);
    EXPECT_EQ(pe.FormNames(), std::vector<std::string>{"TMAIN"});
    EXPECT_EQ(pe.PackageFlags(), 0u);
    // Regression: the Flags page read "Type: Executable / Producer: Delphi 3 or C++
    // Builder 3" for a file without package information.
    EXPECT_FALSE(pe.HasPackageInfo());
    std::vector<std::string> flags;
    fw::pe::BuildPackageReport(fw::pe::ReportPage::Flags, pe.ReportInputs(), flags);
    EXPECT_EQ(flags, std::vector<std::string>{std::string(fw::pe::NoPackageInfoText)});
    EXPECT_TRUE(pe.RequiredPackages().empty());
    EXPECT_TRUE(pe.ContainedUnits().empty());
    EXPECT_TRUE(pe.ClassRefs().empty());
    EXPECT_EQ(pe.Description(), "");

    pe.Open(packagePath);
    pe.Clear();
    EXPECT_EQ(pe.ImagePath(), "");
    EXPECT_EQ(pe.Module(), nullptr);
    EXPECT_TRUE(pe.FileBytes().empty());
    ExpectEmpty(pe);
}

TEST(Reader, WithoutAModuleImageOnlyTheFileViewResultsRemain) {
    TempDir dir;
    PeWriter writer = SampleModule(false);
    writer.SetSizeOfImage(0xFFFFF000u);  // far above any real image: refused, not reserved
    PeFile pe;
    pe.Open(dir.Write("huge.bpl", writer.Build().File));
    EXPECT_EQ(pe.Module(), nullptr);
    EXPECT_EQ(pe.FormNames(), (std::vector<std::string>{"TABOUT", "TFORM1", "TFORM1"}));
    EXPECT_TRUE(pe.ClassRefs().empty());
    EXPECT_TRUE(pe.RequiredPackages().empty());
    EXPECT_EQ(pe.PackageFlags(), 0u);
    EXPECT_EQ(pe.Description(), "");
}

TEST(Reader, LabelsAreConvertedToTheReadersCodePage) {
    TempDir dir;
    PeWriter writer;
    // U+0416 is byte C6 in code page 1251 and has no byte in 1252.
    writer.AddResource({ResourceId::Num(10), ResourceId::Wide(u"\u0416FORM"), 0, SmallForm("Form1"), 0});
    const std::string path = dir.Write("cyrillic.exe", writer.Build().File);
    PeFile western;
    western.Open(path);
    EXPECT_EQ(western.FormNames(), std::vector<std::string>{"?FORM"});
    PeFile cyrillic(*fw::CodePage::Find(1251));
    cyrillic.Open(path);
    EXPECT_EQ(cyrillic.FormNames(), std::vector<std::string>{"\xC6"
                                                             "FORM"});
}

}  // namespace
