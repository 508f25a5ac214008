#pragma once
// FormWriter: writes the primitives of a binary form stream, choosing the smallest tag
// for integers and the string tag by content. Output is buffered and flushed when the
// writer is destroyed or Flush() is called.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/codepage.h"
#include "base/stream.h"
#include "extended.h"
#include "formformat.h"

namespace fw {

class FormWriter {
public:
    explicit FormWriter(Stream& output, const CodePage& codePage = CodePage::Default());
    ~FormWriter();  // flushes; errors there are swallowed, call Flush() to see them
    FormWriter(const FormWriter&) = delete;
    FormWriter& operator=(const FormWriter&) = delete;

    void PutSignature();
    void PutTag(std::uint8_t tag);
    void PutPrefix(std::uint8_t flags, std::int32_t position);
    void PutName(std::string_view name);
    void PutInt32(std::int32_t value);
    void PutInt64(std::int64_t value);
    void PutExtended(const Extended80& value);
    void PutExtended(long double value) { PutExtended(Extended80::FromLongDouble(value)); }
    void PutSingle(float value);
    void PutCurrency(std::int64_t raw);
    void PutDateTime(double value);
    void PutBoolean(bool value);
    void PutIdentifier(std::string_view identifier);
    void PutString(std::u16string_view text);
    void PutBinary(const void* data, std::size_t n);
    void PutBytes(const void* data, std::size_t n);
    void Flush();

private:
    void PutRaw(const void* data, std::size_t n);

    Stream& output_;
    const CodePage& codePage_;
    std::vector<std::uint8_t> buffer_;
    std::size_t used_ = 0;
};

}  // namespace fw
