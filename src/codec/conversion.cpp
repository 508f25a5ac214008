#include "conversion.h"

#include "base/errors.h"
#include "formreader.h"

namespace fw {

namespace {

// The bytes of the binary form stream at the view's start, up to the end of its root
// object; checks the whole stream on the way.
ByteSpan RootRecord(ByteSpan binary, const CodePage& codePage) {
    ByteViewStream in(binary);
    MemoryStream discard;
    BinaryFormToText(in, discard, codePage);
    return binary.first(static_cast<std::size_t>(in.Position()));
}

}  // namespace

Bytes ConvertForm(ByteSpan input, FormEncoding to, const CodePage& codePage) {
    const FormEncoding from = DetectEncoding(input);
    if (from == to) return Bytes(input.begin(), input.end());

    ByteViewStream in(input);
    MemoryStream out;
    if (from == FormEncoding::Text) {
        if (to == FormEncoding::Binary)
            TextToBinaryForm(in, out, codePage);
        else
            TextToResourceForm(in, out, codePage);
        return out.Take();
    }
    if (to == FormEncoding::Text) {
        if (from == FormEncoding::Resource)
            ResourceFormToText(in, out, codePage);
        else
            BinaryFormToText(in, out, codePage);
        return out.Take();
    }
    // Between the two binary encodings the stream itself is kept byte for byte; only
    // the resource header is added or taken away.
    if (from == FormEncoding::Resource) SkipResourceHeader(in);
    const ByteSpan record = RootRecord(input.subspan(static_cast<std::size_t>(in.Position())), codePage);
    if (to == FormEncoding::Binary) return Bytes(record.begin(), record.end());
    return WrapInResourceHeader(record);
}

}  // namespace fw
