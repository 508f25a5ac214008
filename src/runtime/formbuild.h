#pragma once
// Building a live form from form text the way the preview does, without a screen: the
// text rewrites that keep the preview a normal window, the conversion, and the reader
// with hooks that collect every complaint as a message instead of stopping.

#include <string>
#include <string_view>
#include <vector>

#include "codec/codepage.h"
#include "object.h"
#include "reader.h"

namespace fw::rt {

// Rewrites the root's properties that would stop a form from showing as a normal,
// sizeable window among others: the first line on which "ActiveControl" starts at the
// third character is removed, the first such "FormStyle" line becomes
// "FormStyle = fsNormal" and the first such "BorderStyle" line "BorderStyle =
// bsSizeable". The comparison is case-sensitive and the word may go on; nested objects'
// properties are indented further and are left alone.
void ApplyPreviewRewrites(std::vector<std::string>& lines);

// Splits form text into lines at CR LF, LF or CR. A last line without a line break is
// kept; an empty text has no lines.
std::vector<std::string> SplitFormLines(std::string_view text);

// The hooks of a preview build: every recoverable error becomes "ERROR=" + message and
// is handled; every event stays unassigned without an error.
class MessageCollectingHooks : public ReaderHooks {
public:
    explicit MessageCollectingHooks(std::vector<std::string>& messages) : messages_(messages) {}
    bool ErrorHook(const std::string& message) override;
    std::optional<std::uintptr_t> MethodLookupHook(const std::string& methodName, bool& error) override;

private:
    std::vector<std::string>& messages_;
};

// Reads form text lines into root (a plain form the caller created), after the rewrites
// on a copy of the lines. The messages of the build are appended to messages: one
// "ERROR=…" per recoverable error, and "ERROR=Reader: …" when the conversion or the
// reader stopped (what was read before stays in root). Never throws for bad text.
void BuildFormFromLines(Object& root, std::vector<std::string> lines, ClassRegistry& registry,
                        const CodePage& codePage, std::vector<std::string>& messages,
                        FormNames* taken = nullptr);

}  // namespace fw::rt
