// The reader over the real resource payloads of ../shared/corpus/pe-resources: form
// streams, PACKAGEINFO and DESCRIPTION taken from compiled programs and packages. Each
// program's payloads are put back into a PE file of the program's bitness, which the
// reader must list and decode as the manifest says: every form stream converts to text,
// and that text to a binary stream that survives further round trips unchanged; every
// PACKAGEINFO decodes
// to the counts of required packages and contained units the manifest gives, or fails
// where the manifest says the payload is damaged.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "base/errors.h"
#include "codec/conversion.h"
#include "codec/textlines.h"
#include "peimage/packageinfo.h"
#include "peimage/pefile.h"
#include "pewriter.h"

namespace {

namespace fs = std::filesystem;
using namespace fwtest;

fs::path CorpusDir() {
    return fs::path(FW_CORPUS_DIR) / "pe-resources";
}

// The corpus must be there: a run that silently tests nothing would look green.
// Developers without it can set FW_SKIP_CORPUS=1.
bool CorpusMissing() {
    if (fs::is_regular_file(CorpusDir() / "MANIFEST.tsv")) return false;
    if (std::getenv("FW_SKIP_CORPUS")) return true;
    ADD_FAILURE() << "corpus not found at " << CorpusDir()
                  << " (set FW_CORPUS_DIR at configure time, or FW_SKIP_CORPUS=1 to skip)";
    return true;
}

struct Payload {
    std::string File;  // relative to the corpus folder
    std::string Name;
    std::uint16_t Language = 0;
    std::string FlagsHex;
    std::string Requires, Contains, Decode;
};

std::map<std::string, std::vector<Payload>> ReadManifest() {
    std::map<std::string, std::vector<Payload>> samples;
    std::ifstream in(CorpusDir() / "MANIFEST.tsv");
    std::string line;
    std::getline(in, line);  // header
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::stringstream row(line);
        std::string field;
        while (std::getline(row, field, '\t'))
            fields.push_back(field);
        if (fields.size() < 10 || fields[2] != "RCDATA") continue;
        Payload p;
        p.File = fields[1];
        p.Name = fields[3];
        p.Language = static_cast<std::uint16_t>(std::stoi(fields[4]));
        p.FlagsHex = fields[6];
        p.Requires = fields[7];
        p.Contains = fields[8];
        p.Decode = fields[9];
        samples[fields[0]].push_back(p);
    }
    return samples;
}

std::string TextOf(const Bytes& stream) {
    fw::ByteViewStream input(stream);
    fw::MemoryStream output;
    fw::BinaryFormToText(input, output);
    return std::string(output.Data().begin(), output.Data().end());
}

TEST(PECorpus, EveryProgramsPayloadsReadBackThroughTheReader) {
    if (CorpusMissing()) GTEST_SKIP() << "FW_SKIP_CORPUS is set and the corpus is absent";
    const auto samples = ReadManifest();
    ASSERT_GT(samples.size(), 20u) << "the manifest looks incomplete";

    std::size_t forms = 0, formBytes = 0, packageInfos = 0, damagedPackageInfos = 0, descriptions = 0;
    for (const auto& [sample, payloads] : samples) {
        SCOPED_TRACE(sample);
        const bool pe32Plus = sample.find("Win64") != std::string::npos;
        PeWriter writer(pe32Plus);
        std::vector<std::string> expectedForms;
        const Payload* packageInfo = nullptr;
        Bytes description;
        for (const Payload& p : payloads) {
            const Bytes data = fw::ReadFileBytes((CorpusDir() / p.File).string());
            writer.AddResource({ResourceId::Num(10), ResourceId::Str(p.Name), p.Language, data, 0});
            if (p.Name == "PACKAGEINFO") {
                packageInfo = &p;
            } else if (p.Name == "DESCRIPTION") {
                description = data;
            } else {
                expectedForms.push_back(p.Name);
            }
        }
        const MemoryFile file(writer.Build().File);
        fw::pe::PeFile pe;
        pe.Open(file.Path());
        ASSERT_TRUE(pe.IsPEImage());

        std::vector<std::string> listed = pe.FormNames();
        std::sort(listed.begin(), listed.end());
        std::sort(expectedForms.begin(), expectedForms.end());
        EXPECT_EQ(listed, expectedForms);

        for (const std::string& name : pe.FormNames()) {
            SCOPED_TRACE(name);
            const fw::pe::ResourceItem item = pe.FindResourceByName(name);
            std::string text;
            try {
                text = fw::pe::ResourceToFormText(item);
            } catch (const fw::Exception& error) {
                ADD_FAILURE() << "does not convert: " << error.what();
                continue;
            }
            ASSERT_FALSE(text.empty());
            EXPECT_EQ(text.rfind("object ", 0) == 0 || text.rfind("inherited ", 0) == 0 ||
                          text.rfind("inline ", 0) == 0,
                      true)
                << fw::FirstTextLine(text);
            EXPECT_EQ(text, TextOf(Bytes(item.Data.begin(), item.Data.end())));
            // Back to binary. Text cannot say everything the first stream said the way it
            // said it (8-bit strings come back as character codes, integer sizes are
            // chosen afresh), but from then on nothing may change any more.
            const Bytes binary = FormStream(text);
            EXPECT_EQ(FormStream(TextOf(binary)), binary) << "the form changes on a second round trip";
            ++forms;
            formBytes += item.Size;
        }

        if (packageInfo) {
            ++packageInfos;
            const bool damaged = packageInfo->Decode.rfind("error", 0) == 0;
            damagedPackageInfos += damaged ? 1 : 0;
            EXPECT_EQ(pe.PackageFlags(), std::stoul(packageInfo->FlagsHex, nullptr, 16));
            if (damaged) {
                EXPECT_TRUE(pe.RequiredPackages().empty());
                EXPECT_TRUE(pe.ContainedUnits().empty());
            } else {
                EXPECT_EQ(std::to_string(pe.RequiredPackages().size()), packageInfo->Requires);
                EXPECT_EQ(std::to_string(pe.ContainedUnits().size()), packageInfo->Contains);
            }
        } else {
            EXPECT_EQ(pe.PackageFlags(), 0u);
        }
        if (!description.empty()) {
            ++descriptions;
            EXPECT_EQ(pe.Description(), fw::pe::DecodeDescription(description));
            EXPECT_FALSE(pe.Description().empty());
        }
    }
    std::cout << "[ corpus   ] " << samples.size() << " programs, " << forms << " forms (" << formBytes
              << " bytes) converted and round-tripped, " << packageInfos << " PACKAGEINFO ("
              << damagedPackageInfos << " damaged as the manifest says), " << descriptions
              << " DESCRIPTION\n";
}

}  // namespace
