#include "codepage.h"

#include <algorithm>
#include <memory>

namespace fw {
namespace detail {
struct CodePageTable {
    int Number;
    std::array<char16_t, 128> Upper;
};
extern const CodePageTable CodePageTables[];
extern const int CodePageTableCount;
extern const DoubleByteTable DoubleByteTables[];
extern const int DoubleByteTableCount;
}  // namespace detail

namespace {

const std::vector<std::unique_ptr<CodePage>>& AllCodePages() {
    static const std::vector<std::unique_ptr<CodePage>> pages = [] {
        std::vector<std::unique_ptr<CodePage>> v;
        for (int i = 0; i < detail::CodePageTableCount; ++i)
            v.push_back(std::make_unique<CodePage>(detail::CodePageTables[i].Number,
                                                   detail::CodePageTables[i].Upper));
        for (int i = 0; i < detail::DoubleByteTableCount; ++i)
            v.push_back(std::make_unique<CodePage>(detail::DoubleByteTables[i]));
        return v;
    }();
    return pages;
}

bool IsPrivateByteUnit(char16_t unit) {
    return unit >= CodePage::PrivateByteBase + 0x80 && unit <= CodePage::PrivateByteBase + 0xFF;
}

}  // namespace

CodePage::CodePage(int number, const std::array<char16_t, 128>& upperHalf) : number_(number) {
    for (int b = 0; b < 128; ++b)
        toUnit_[static_cast<std::size_t>(b)] = static_cast<char16_t>(b);
    for (std::size_t b = 0; b < 128; ++b)
        toUnit_[128 + b] = upperHalf[b];
}

CodePage::CodePage(const detail::DoubleByteTable& table) : number_(table.Number), table_(&table) {
    for (std::size_t b = 0; b < 256; ++b)
        toUnit_[b] = IsLeadByte(static_cast<std::uint8_t>(b)) ? static_cast<char16_t>(PrivateByteBase + b)
                                                              : table.Single[b];
}

void CodePage::BuildFromUnit() const {
    // The private units of a double-byte page's undefined bytes are encoded by ToCode
    // itself; lead bytes have no unit of their own.
    for (std::size_t b = 128; b < 256; ++b)
        if (table_ == nullptr || !IsPrivateByteUnit(toUnit_[b]))
            fromUnit_.emplace_back(toUnit_[b], static_cast<std::uint16_t>(b));
    if (table_ != nullptr) {
        const std::size_t width = static_cast<std::size_t>(table_->TrailLast - table_->TrailFirst) + 1;
        for (std::size_t lead = 0; lead < 256; ++lead) {
            const std::uint8_t row = table_->Row[lead];
            if (row == 0xFF) continue;
            const char16_t* units = table_->Rows + row * width;
            for (std::size_t t = 0; t < width; ++t)
                if (units[t] != 0)
                    fromUnit_.emplace_back(units[t],
                                           static_cast<std::uint16_t>(lead << 8 | (table_->TrailFirst + t)));
        }
    }
    std::sort(fromUnit_.begin(), fromUnit_.end());
}

const CodePage& CodePage::Default() {
    static const CodePage* page = Find(1252);
    return *page;
}

const CodePage* CodePage::Find(int number) {
    for (const auto& page : AllCodePages())
        if (page->Number() == number) return page.get();
    return nullptr;
}

std::vector<int> CodePage::Supported() {
    std::vector<int> numbers;
    for (const auto& page : AllCodePages())
        numbers.push_back(page->Number());
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

int CodePage::ToCode(char16_t unit) const {
    if (unit < 128) return unit;
    if (table_ != nullptr && IsPrivateByteUnit(unit)) return unit - PrivateByteBase;
    std::call_once(fromUnitBuilt_, [this] { BuildFromUnit(); });
    auto it = std::lower_bound(fromUnit_.begin(), fromUnit_.end(), std::make_pair(unit, std::uint16_t{0}));
    if (it != fromUnit_.end() && it->first == unit) return it->second;
    return -1;
}

int CodePage::ToByte(char16_t unit) const {
    const int code = ToCode(unit);
    return code <= 0xFF ? code : -1;
}

std::u16string CodePage::Decode(std::string_view bytes) const {
    if (table_ == nullptr) {
        std::u16string text(bytes.size(), u'\0');
        for (std::size_t i = 0; i < bytes.size(); ++i)
            text[i] = toUnit_[static_cast<std::uint8_t>(bytes[i])];
        return text;
    }
    std::u16string text;
    text.reserve(bytes.size());
    const std::size_t width = static_cast<std::size_t>(table_->TrailLast - table_->TrailFirst) + 1;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<std::uint8_t>(bytes[i]);
        if (CharLength(bytes, i) == 1) {
            text.push_back(toUnit_[b]);
            ++i;
            continue;
        }
        const auto t = static_cast<std::uint8_t>(bytes[i + 1]);
        const std::uint8_t row = table_->Row[b];
        const char16_t unit = row == 0xFF ? 0 : table_->Rows[row * width + (t - table_->TrailFirst)];
        if (unit != 0) {
            text.push_back(unit);
        } else {
            // An undefined pair keeps both bytes, as one character of two units.
            text.push_back(static_cast<char16_t>(PrivateByteBase + b));
            text.push_back(t < 0x80 ? t : static_cast<char16_t>(PrivateByteBase + t));
        }
        i += 2;
    }
    return text;
}

std::string CodePage::Encode(std::u16string_view text, std::size_t* firstMissing) const {
    if (firstMissing != nullptr) *firstMissing = std::u16string_view::npos;
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int code = ToCode(text[i]);
        if (code < 0) {
            if (firstMissing != nullptr && *firstMissing == std::u16string_view::npos) *firstMissing = i;
            bytes.push_back('?');
        } else if (code > 0xFF) {
            bytes.push_back(static_cast<char>(code >> 8));
            bytes.push_back(static_cast<char>(code & 0xFF));
        } else {
            bytes.push_back(static_cast<char>(code));
        }
    }
    return bytes;
}

std::string Utf8FromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t u : text) {
        if (u < 0x80) {
            out.push_back(static_cast<char>(u));
        } else if (u < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (u >> 6)));
            out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (u >> 12)));
            out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
        }
    }
    return out;
}

std::u16string Utf16FromUtf8(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    const auto n = bytes.size();
    std::size_t i = 0;
    auto continuation = [&](std::size_t k, unsigned& bits) {
        if (k >= n) return false;
        auto c = static_cast<std::uint8_t>(bytes[k]);
        if (c < 0x80 || c > 0xBF) return false;
        bits = c & 0x3Fu;
        return true;
    };
    while (i < n) {
        auto lead = static_cast<std::uint8_t>(bytes[i]);
        if (lead < 0x80) {
            out.push_back(lead);
            ++i;
            continue;
        }
        unsigned b1 = 0, b2 = 0;
        if (lead & 0x20) {
            if (!continuation(i + 1, b1) || !continuation(i + 2, b2)) return {};
            out.push_back(static_cast<char16_t>(((lead & 0x0Fu) << 12) | (b1 << 6) | b2));
            i += 3;
        } else {
            if (!continuation(i + 1, b1)) return {};
            out.push_back(static_cast<char16_t>(((lead & 0x1Fu) << 6) | b1));
            i += 2;
        }
    }
    return out;
}

std::string Utf8TextFromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::u16string Utf16FromUtf8Text(std::string_view bytes, const CodePage& fallback) {
    std::u16string out;
    out.reserve(bytes.size());
    const auto n = bytes.size();
    auto cont = [&](std::size_t k) { return k < n && (static_cast<std::uint8_t>(bytes[k]) & 0xC0) == 0x80; };
    auto at = [&](std::size_t k) { return static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[k])); };
    std::size_t i = 0;
    while (i < n) {
        std::uint32_t c = at(i);
        std::uint32_t cp = 0;
        std::size_t len = 0;
        if (c < 0x80) {
            cp = c;
            len = 1;
        } else if (c >= 0xC2 && c <= 0xDF && cont(i + 1)) {
            cp = ((c & 0x1F) << 6) | (at(i + 1) & 0x3F);
            len = 2;
        } else if (c >= 0xE0 && c <= 0xEF && cont(i + 1) && cont(i + 2)) {
            cp = ((c & 0x0F) << 12) | ((at(i + 1) & 0x3F) << 6) | (at(i + 2) & 0x3F);
            if (cp >= 0x800) len = 3;
        } else if (c >= 0xF0 && c <= 0xF4 && cont(i + 1) && cont(i + 2) && cont(i + 3)) {
            cp = ((c & 0x07) << 18) | ((at(i + 1) & 0x3F) << 12) | ((at(i + 2) & 0x3F) << 6) |
                 (at(i + 3) & 0x3F);
            if (cp >= 0x10000 && cp <= 0x10FFFF) len = 4;
        }
        if (len == 0) {
            out.push_back(fallback.ToUnit(static_cast<std::uint8_t>(c)));
            ++i;
        } else if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
            i += len;
        } else {
            out.push_back(static_cast<char16_t>(cp));
            i += len;
        }
    }
    return out;
}

}  // namespace fw
