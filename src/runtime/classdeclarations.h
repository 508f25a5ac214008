#pragma once
// The class declarations of Pascal units and C++ headers, as far as a form needs them:
// which class a form class derives from, when the form's own text says only "object".
// This is a scan for one pattern, not a parser of either language: comments and string
// literals are skipped, everything else that does not match is passed over.

#include <string>
#include <string_view>
#include <vector>

namespace fw::rt {

enum class SourceLanguage { Pascal, Cpp };

struct ClassDeclaration {
    std::string Name;      // "TFmMain"
    std::string Ancestor;  // "TBaseForm": the last part of a qualified name (Vcl.Forms.TForm gives TForm)
};

// The declarations "TX = class(TY)" (Pascal: keywords in any letter case, "sealed",
// "abstract" and "packed" allowed, further interfaces after TY ignored; "class of",
// "class;" and a plain "class" without an ancestor give nothing) or
// "class [MACRO...] TX : [public] TY" (C++; "__declspec(...)" and macros such as
// PACKAGE before the name are passed over, "enum class" and forward declarations give
// nothing), in the order they appear. Any bytes are accepted; the scan is linear.
std::vector<ClassDeclaration> ScanClassDeclarations(std::string_view source, SourceLanguage language);

// The language of a source file by its extension (".pas", ".h", ".hpp", letter case
// ignored); false for any other file.
bool SourceLanguageOfPath(std::string_view path, SourceLanguage& language);

}  // namespace fw::rt
