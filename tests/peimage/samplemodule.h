#pragma once
// The module most reader tests start from: a package with forms in two languages, a
// bitmap named like a form, a short RCDATA, named and numbered types, PACKAGEINFO,
// DESCRIPTION and a code section holding class records at each record distance.

#include <string>
#include <vector>

#include "pewriter.h"

namespace fwtest {

struct SampleClass {
    std::string Name;
    std::uint32_t Distance;
};

// The classes the sample's code section holds, in address order.
const std::vector<SampleClass>& SampleClasses();

// The PACKAGEINFO of the sample.
inline constexpr std::uint32_t SampleFlags = 0x4C000002;  // design only, package, Delphi 4 or later
const std::vector<std::string>& SampleRequires();
const std::vector<std::string>& SampleContains();
inline constexpr char16_t SampleDescription[] = u"Sample components \u00e9";

// A code section laid out at sectionAddress with the sample classes and some noise.
Bytes SampleCode(std::uint64_t sectionAddress);

// The sample module, PE32 or PE32+.
PeWriter SampleModule(bool pe32Plus);

}  // namespace fwtest
