// Fuzzes the runtime form reader on arbitrary binary streams: the input (after its
// resource header, when it has one) is read into a plain form, as the preview reads a
// form, with hooks that handle every recoverable error and give every event an address.
// The reader may reject a stream with an fw::Exception; it must never crash, hang, leak
// or trip a sanitizer, and the form must come apart cleanly afterwards whatever was
// read into it before a failure.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "base/errors.h"
#include "base/stream.h"
#include "codec/formformat.h"
#include "runtime/builtin.h"
#include "runtime/reader.h"
#include "runtime/registry.h"

namespace {

class HandleEverything final : public fw::rt::ReaderHooks {
public:
    bool ErrorHook(const std::string&) override { return true; }
    std::optional<std::uintptr_t> MethodLookupHook(const std::string&, bool& error) override {
        error = false;
        return 0x1000;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Classes are worked out as they are first met and kept by the registry; reading
    // registers none, so one registry serves every input.
    static const std::unique_ptr<fw::rt::ClassRegistry> registry = fw::rt::MakeBuiltinRegistry();

    fw::ByteViewStream stream(fw::ByteSpan(data, size));
    try {
        if (size > 0 && data[0] == 0xFF) fw::SkipResourceHeader(stream);
    } catch (const fw::Exception&) {
        return 0;
    }
    fw::rt::ObjectPtr root = fw::rt::CreateObject(registry->Of(fw::rt::cls::TForm), *registry);
    HandleEverything hooks;
    fw::rt::FormNames names;
    names.Add("Form1");
    try {
        fw::rt::ReadFormInto(*root, stream, hooks, *registry, fw::CodePage::Default(), &names);
    } catch (const fw::Exception&) {
    }
    names.Remove(root.get());
    return 0;
}
