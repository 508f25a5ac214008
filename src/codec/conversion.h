#pragma once
// The conversions between the encodings of a form. Each takes the 8-bit code page of
// form text and of 8-bit strings as a parameter; there is no global state, and
// numbers always use "." whatever the process locale.

#include "base/codepage.h"
#include "base/stream.h"
#include "formformat.h"

namespace fw {

// Converts the binary form stream at the input's position (it begins with "TPF0")
// into form text. On return the input stands right after the root object's record.
// Throws EReadError on a damaged stream; the output then holds the text written so far.
void BinaryFormToText(Stream& input, Stream& output, const CodePage& codePage = CodePage::Default());
// Skips the resource header at the input's position, then as BinaryFormToText.
void ResourceFormToText(Stream& input, Stream& output, const CodePage& codePage = CodePage::Default());

// Converts the form text at the input's position into a binary form stream. On return
// the input stands at the first token after the root's closing "end". Throws
// EParserError (with the line) or EConvertError; the output then holds the bytes
// written before the failure.
void TextToBinaryForm(Stream& input, Stream& output, const CodePage& codePage = CodePage::Default());
// As TextToBinaryForm, behind a resource header. Nothing is written on failure.
void TextToResourceForm(Stream& input, Stream& output, const CodePage& codePage = CodePage::Default());

// The binary form stream behind a resource header named after its root's class.
// Throws EParserError when the class name is longer than a header can hold.
Bytes WrapInResourceHeader(ByteSpan binary);

// Converts a whole form held in memory from whichever encoding it is in to the one
// asked for. Same-encoding requests return the input unchanged.
Bytes ConvertForm(ByteSpan input, FormEncoding to, const CodePage& codePage = CodePage::Default());

}  // namespace fw
