// Fuzzes building a form whole over the form files of its ancestors and frames. The
// input is split at "\n#file\n": the first part is the form's text, each other part a
// form file (in any encoding) found for the class its root names, and each file's class
// is declared to descend from the class of the file after it. Chains, cycles, frames
// within frames and damaged files all come out of that; the build must never crash,
// hang, recurse without bound, leak or trip a sanitizer, and the form must come apart
// cleanly afterwards.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/errors.h"
#include "codec/conversion.h"
#include "codec/formformat.h"
#include "runtime/builtin.h"
#include "runtime/formbuild.h"
#include "runtime/registry.h"
#include "runtime/wholeform.h"

namespace {

class PartsSource final : public fw::rt::FormFileSource {
public:
    explicit PartsSource(std::vector<fw::Bytes> files) {
        for (fw::Bytes& content : files) {
            std::string className;
            try {
                const fw::Bytes text = fw::DetectEncoding(content) == fw::FormEncoding::Text
                                           ? content
                                           : fw::ConvertForm(content, fw::FormEncoding::Text);
                className = fw::rt::RootClassOf(
                    std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
            } catch (const fw::Exception&) {
            }
            files_.push_back({std::move(className), std::move(content)});
        }
    }
    std::optional<fw::rt::FormFile> FindFormOfClass(std::string_view className) override {
        for (std::size_t i = 0; i < files_.size(); ++i)
            if (!files_[i].first.empty() && fw::rt::EqualsIgnoringCase(files_[i].first, className))
                return fw::rt::FormFile{"part" + std::to_string(i + 1) + ".dfm", files_[i].second};
        return std::nullopt;
    }
    std::string DeclaredAncestorOf(std::string_view className) override {
        for (std::size_t i = 0; i + 1 < files_.size(); ++i)
            if (fw::rt::EqualsIgnoringCase(files_[i].first, className)) return files_[i + 1].first;
        return {};
    }
    std::string SearchedText() const override { return "input"; }

private:
    std::vector<std::pair<std::string, fw::Bytes>> files_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Reading registers no class, so one registry serves every input.
    static const std::unique_ptr<fw::rt::ClassRegistry> registry = fw::rt::MakeBuiltinRegistry();

    const std::string_view input(reinterpret_cast<const char*>(data), size);
    constexpr std::string_view separator = "\n#file\n";
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t at = input.find(separator, start);
        parts.push_back(
            input.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
        if (at == std::string_view::npos) break;
        start = at + separator.size();
    }
    std::vector<fw::Bytes> files;
    for (std::size_t i = 1; i < parts.size(); ++i)
        files.emplace_back(parts[i].begin(), parts[i].end());
    PartsSource source(std::move(files));

    fw::rt::ObjectPtr root = fw::rt::CreateObject(registry->Of(fw::rt::cls::TForm), *registry);
    fw::rt::FormNames names;
    std::vector<fw::rt::BuildMessage> messages;
    std::vector<fw::rt::ReadObject> objects;
    fw::rt::BuildOrigins origins;
    fw::rt::BuildFormFromText(*root, parts.front(), *registry, fw::CodePage::Default(), messages, &names,
                              &objects, &source, &origins);
    (void)fw::rt::RootBaseOf(parts.front(), *registry, &source);
    names.Remove(root.get());
    return 0;
}
