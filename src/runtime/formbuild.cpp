#include "formbuild.h"

#include <exception>
#include <new>

#include "codec/conversion.h"
#include "codec/formformat.h"
#include "codec/stream.h"

namespace fw::rt {

namespace {

// Whether the line's first occurrence of word starts at the third character.
bool WordStartsAtThird(const std::string& line, std::string_view word) {
    return line.find(word) == 2;
}

}  // namespace

void ApplyPreviewRewrites(std::vector<std::string>& lines) {
    for (auto it = lines.begin(); it != lines.end(); ++it) {
        if (WordStartsAtThird(*it, "ActiveControl")) {
            lines.erase(it);
            break;
        }
    }
    for (std::string& line : lines) {
        if (WordStartsAtThird(line, "FormStyle")) {
            line = "FormStyle = fsNormal";
            break;
        }
    }
    for (std::string& line : lines) {
        if (WordStartsAtThird(line, "BorderStyle")) {
            line = "BorderStyle = bsSizeable";
            break;
        }
    }
}

std::vector<std::string> SplitFormLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

bool MessageCollectingHooks::ErrorHook(const std::string& message) {
    messages_.push_back("ERROR=" + message);
    return true;
}

std::optional<std::uintptr_t> MessageCollectingHooks::MethodLookupHook(const std::string& methodName,
                                                                      bool& error) {
    (void)methodName;
    error = false;
    return std::nullopt;
}

void BuildFormFromLines(Object& root, std::vector<std::string> lines, ClassRegistry& registry,
                        const CodePage& codePage, std::vector<std::string>& messages, FormNames* taken) {
    ApplyPreviewRewrites(lines);
    try {
        Bytes text;
        std::size_t size = 0;
        for (const std::string& line : lines) size += line.size() + 2;
        text.reserve(size);
        for (const std::string& line : lines) {
            text.insert(text.end(), line.begin(), line.end());
            text.push_back('\r');
            text.push_back('\n');
        }
        lines.clear();
        lines.shrink_to_fit();

        ByteViewStream source(text);
        MemoryStream resource;
        TextToResourceForm(source, resource, codePage);
        ByteViewStream form(resource.Data());
        SkipResourceHeader(form);
        MessageCollectingHooks hooks(messages);
        ReadFormInto(root, form, hooks, registry, codePage, taken);
    } catch (const std::bad_alloc&) {
        messages.push_back("ERROR=Reader: Out of memory");
    } catch (const std::exception& error) {
        messages.push_back(std::string("ERROR=Reader: ") + error.what());
    }
}

}  // namespace fw::rt
