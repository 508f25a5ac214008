#include "classdeclarations.h"

#include <cstddef>

#include "registry.h"

namespace fw::rt {

namespace {

bool IsIdentStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsIdentChar(char c) {
    return IsIdentStart(c) || (c >= '0' && c <= '9');
}

enum class TokenKind { End, Ident, Punct };

struct Token {
    TokenKind Kind = TokenKind::End;
    std::string_view Text;
};

// Splits source into identifiers and punctuation, passing over blanks, comments and
// string literals of the language. "::" is one token; every other punctuation byte is
// a token of its own. An unterminated comment or literal runs to the end.
class Tokenizer {
public:
    Tokenizer(std::string_view source, SourceLanguage language)
        : s_(source), pascal_(language == SourceLanguage::Pascal) {}

    Token Next() {
        SkipIgnored();
        if (p_ >= s_.size()) return {};
        const std::size_t start = p_;
        if (IsIdentStart(s_[p_])) {
            while (p_ < s_.size() && IsIdentChar(s_[p_]))
                ++p_;
            return {TokenKind::Ident, s_.substr(start, p_ - start)};
        }
        if (!pascal_ && s_[p_] == ':' && p_ + 1 < s_.size() && s_[p_ + 1] == ':') {
            p_ += 2;
            return {TokenKind::Punct, s_.substr(start, 2)};
        }
        ++p_;
        return {TokenKind::Punct, s_.substr(start, 1)};
    }

private:
    void SkipTo(std::string_view end) {
        const std::size_t at = s_.find(end, p_);
        p_ = at == std::string_view::npos ? s_.size() : at + end.size();
    }
    // A quoted literal from the quote at p_ to its closing quote or the line's end.
    void SkipLiteral(char quote) {
        ++p_;
        while (p_ < s_.size() && s_[p_] != '\n') {
            const char c = s_[p_++];
            if (!pascal_ && c == '\\' && p_ < s_.size()) {
                ++p_;
            } else if (c == quote) {
                // Pascal doubles a quote inside a literal.
                if (pascal_ && p_ < s_.size() && s_[p_] == quote) {
                    ++p_;
                    continue;
                }
                return;
            }
        }
    }
    void SkipIgnored() {
        while (p_ < s_.size()) {
            const char c = s_[p_];
            const char d = p_ + 1 < s_.size() ? s_[p_ + 1] : '\0';
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
                ++p_;
            } else if (c == '/' && d == '/') {
                SkipTo("\n");
            } else if (pascal_ && c == '{') {
                SkipTo("}");
            } else if (pascal_ && c == '(' && d == '*') {
                p_ += 2;
                SkipTo("*)");
            } else if (!pascal_ && c == '/' && d == '*') {
                p_ += 2;
                SkipTo("*/");
            } else if (c == '\'' || (!pascal_ && c == '"')) {
                SkipLiteral(c);
            } else {
                return;
            }
        }
    }

    std::string_view s_;
    std::size_t p_ = 0;
    bool pascal_;
};

bool Is(const Token& token, std::string_view text) {
    return token.Text == text;
}
bool IsWord(const Token& token, std::string_view word) {
    return token.Kind == TokenKind::Ident && EqualsIgnoringCase(token.Text, word);
}

// Pascal: Name = [packed] class [sealed|abstract] ( [Unit.]Name ...
void ScanPascal(Tokenizer& tokens, std::vector<ClassDeclaration>& out) {
    Token back1, back2, back3;  // the three tokens before cur, nearest first
    Token cur = tokens.Next();
    while (cur.Kind != TokenKind::End) {
        std::string_view name;
        if (IsWord(cur, "class")) {
            if (Is(back1, "=") && back2.Kind == TokenKind::Ident) {
                name = back2.Text;
            } else if (IsWord(back1, "packed") && Is(back2, "=") && back3.Kind == TokenKind::Ident) {
                name = back3.Text;
            }
        }
        if (name.empty()) {
            back3 = back2;
            back2 = back1;
            back1 = cur;
            cur = tokens.Next();
            continue;
        }
        Token t = tokens.Next();
        if (IsWord(t, "sealed") || IsWord(t, "abstract")) t = tokens.Next();
        if (Is(t, "(")) {
            std::string_view ancestor;
            for (t = tokens.Next(); t.Kind == TokenKind::Ident;) {
                ancestor = t.Text;
                t = tokens.Next();
                if (!Is(t, ".")) break;
                t = tokens.Next();
            }
            if (!ancestor.empty()) out.push_back({std::string(name), std::string(ancestor)});
        }
        back1 = back2 = back3 = {};
        cur = t;
    }
}

// C++: class [MACRO | __declspec(...)]... Name : [public|protected|private|virtual]... [::]A::B::Name
void ScanCpp(Tokenizer& tokens, std::vector<ClassDeclaration>& out) {
    Token prev, cur = tokens.Next();
    while (cur.Kind != TokenKind::End) {
        if (!(Is(cur, "class") && cur.Kind == TokenKind::Ident) || Is(prev, "enum")) {
            prev = cur;
            cur = tokens.Next();
            continue;
        }
        std::string_view name;
        Token t = tokens.Next();
        while (t.Kind == TokenKind::Ident || Is(t, "(")) {
            if (Is(t, "(")) {
                // A macro's arguments, as in __declspec(delphiclass): passed over whole.
                int depth = 1;
                while (depth > 0) {
                    t = tokens.Next();
                    if (t.Kind == TokenKind::End) return;
                    if (Is(t, "(")) ++depth;
                    if (Is(t, ")")) --depth;
                }
            } else if (!Is(t, "final")) {
                name = t.Text;
            }
            t = tokens.Next();
        }
        if (Is(t, ":") && !name.empty()) {
            t = tokens.Next();
            while (Is(t, "public") || Is(t, "protected") || Is(t, "private") || Is(t, "virtual"))
                t = tokens.Next();
            if (Is(t, "::")) t = tokens.Next();
            std::string_view ancestor;
            while (t.Kind == TokenKind::Ident) {
                ancestor = t.Text;
                t = tokens.Next();
                if (!Is(t, "::")) break;
                t = tokens.Next();
            }
            if (!ancestor.empty()) out.push_back({std::string(name), std::string(ancestor)});
        }
        prev = {};
        cur = t;
    }
}

}  // namespace

std::vector<ClassDeclaration> ScanClassDeclarations(std::string_view source, SourceLanguage language) {
    std::vector<ClassDeclaration> out;
    Tokenizer tokens(source, language);
    if (language == SourceLanguage::Pascal) {
        ScanPascal(tokens, out);
    } else {
        ScanCpp(tokens, out);
    }
    return out;
}

bool SourceLanguageOfPath(std::string_view path, SourceLanguage& language) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || path.find_first_of("/\\", dot) != std::string_view::npos)
        return false;
    const std::string_view extension = path.substr(dot);
    if (EqualsIgnoringCase(extension, ".pas")) {
        language = SourceLanguage::Pascal;
        return true;
    }
    if (EqualsIgnoringCase(extension, ".h") || EqualsIgnoringCase(extension, ".hpp")) {
        language = SourceLanguage::Cpp;
        return true;
    }
    return false;
}

}  // namespace fw::rt
