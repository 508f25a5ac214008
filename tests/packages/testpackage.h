#pragma once
// Package files for the tests, made from a plain description with the tests' PE writer:
// a CODE section with compiled class records at a chosen record distance, each class's
// type information with its published property records, the type information of the
// package's own types, an import table for what the package takes from other packages,
// an export table with the package's initialisation entry, and the PACKAGEINFO and
// DESCRIPTION resources. Addresses inside the file are laid out as a compiler would:
// a parent link points at the parent record's self pointer or at an import slot, and a
// property's type at a cell holding the type information's address.

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "../peimage/pewriter.h"

namespace fwtest {

// Something a package takes from another package by name.
struct TestImportRef {
    std::string Module = {};  // "rtl.bpl"
    std::string Symbol = {};  // "@Classes@TComponent@", "@$xp$7Integer"
};

// The type of a property: one of the package's own types, the type information of one
// of its classes, or an imported type.
struct TestTypeRef {
    int LocalType = -1;
    int LocalClass = -1;
    TestImportRef Import = {};

    static TestTypeRef Type(int index) { return {index, -1, {}}; }
    static TestTypeRef Class(int index) { return {-1, index, {}}; }
    static TestTypeRef Imported(std::string module, std::string symbol) {
        return {-1, -1, {std::move(module), std::move(symbol)}};
    }
    // A type the runtime library exports: "@$xp$" + length + name.
    static TestTypeRef Rtl(const std::string& name) {
        return Imported("rtl.bpl", "@$xp$" + std::to_string(name.size()) + name);
    }
};

// One of the package's own types.
struct TestType {
    std::uint8_t Kind = 1;  // the compiler's kind numbers: 1 integer, 3 enumeration, 6 set, ...
    std::string Name = {};
    std::vector<std::string> EnumNames = {};  // enumeration
    TestTypeRef Element = {};                 // set: its element type; enumeration: a base type
    std::uint8_t FloatType = 1;               // float
};

struct TestProperty {
    std::string Name = {};
    TestTypeRef Type = {};
    std::int32_t Default = INT32_MIN;  // none
};

struct TestClass {
    std::string Name = {};
    std::uint32_t Distance = 76;
    int ParentLocal = -1;             // a class of this package
    TestImportRef ParentImport = {};  // or an imported class; neither: no parent
    bool ParentDirect = false;        // the link points at the class reference itself
    std::string Unit = "TestUnit";
    bool HasTypeInfo = true;
    std::vector<TestProperty> Properties = {};
};

struct TestPackage {
    std::string ModuleName = "testpkg.bpl";
    bool ExportInitialize = true;
    bool HasPackageInfo = true;
    std::uint32_t Flags = 0x4C000002;  // design only, package, Delphi 4 or later
    std::vector<std::string> Requires = {"rtl", "vcl"};
    std::vector<std::string> Contains = {"TestUnit"};
    std::vector<TestType> Types;
    std::vector<TestClass> Classes;
    // Laid out as the C++ compilers lay out their classes of the component library: the
    // class records, names and type information in a ".data" section, each class's name
    // before its record, the code in a ".text" section. Otherwise as the Pascal compilers
    // do: everything in a "CODE" section, each name after its record.
    bool CppLayout = false;
};

// The bytes of the package file.
Bytes BuildTestPackage(const TestPackage& package);

// The kind numbers of the compiler's type information.
namespace kind {
inline constexpr std::uint8_t Integer = 1, Char = 2, Enumeration = 3, Float = 4, ShortString = 5, Set = 6,
                              Class = 7, Method = 8, WChar = 9, LString = 10, WString = 11, Variant = 12,
                              Interface = 15, Int64 = 16, UString = 18;
}

// Imported classes as the runtime packages export them.
inline TestImportRef VclClass(const std::string& unit, const std::string& name) {
    return {"vcl.bpl", "@" + unit + "@" + name + "@"};
}

}  // namespace fwtest
