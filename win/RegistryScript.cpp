#include "win/RegistryScript.h"

#include <cctype>

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

std::optional<std::string> Substitute(std::string_view script,
                                      const std::map<std::string, std::string>& replacements,
                                      std::string& error) {
    std::string out;
    // A value put into quoted text has its quotes doubled, as the notation writes them: a
    // module in a folder such as O'Neil must not end the text early.
    bool quoted = false;
    for (size_t i = 0; i < script.size(); ++i) {
        if (script[i] != '%') {
            quoted ^= script[i] == '\'';
            out += script[i];
            continue;
        }
        size_t end = script.find('%', i + 1);
        if (end == std::string_view::npos) {
            error = "unterminated %";
            return std::nullopt;
        }
        std::string name(script.substr(i + 1, end - i - 1));
        if (name.empty()) {
            out += '%';
        } else if (auto found = replacements.find(name); found != replacements.end()) {
            for (char c : found->second) {
                out += c;
                if (quoted && c == '\'') {
                    out += c;
                }
            }
        } else {
            error = "unknown replacement %" + name + "%";
            return std::nullopt;
        }
        i = end;
    }
    return out;
}

struct Token {
    enum class Kind { End, Open, Close, Equals, Word, Quoted } kind = Kind::End;
    std::string text;
};

// The registry itself goes no deeper; a script nested beyond it is refused before the parse's
// own recursion could run out of stack.
constexpr int MaxKeyDepth = 512;

class Parser {
public:
    explicit Parser(std::string_view text) : text(text) { Advance(); }

    RegistryScriptResult ParseRoots() {
        RegistryScriptResult result;
        while (error.empty() && current.kind != Token::Kind::End) {
            RegistryKey root;
            if (!ParseKey(root)) {
                break;
            }
            root.removal = RegistryKey::Removal::NoRemove;
            result.roots.push_back(std::move(root));
        }
        result.error = error;
        if (!error.empty()) {
            result.roots.clear();
        }
        return result;
    }

private:
    bool Fail(std::string message) {
        if (error.empty()) {
            error = std::move(message);
        }
        return false;
    }

    bool IsName() const {
        return current.kind == Token::Kind::Word || current.kind == Token::Kind::Quoted;
    }

    bool IsWord(std::string_view word) const {
        return current.kind == Token::Kind::Word && EqualsIgnoringCase(current.text, word);
    }

    bool ParseTypedData(RegistryValue& value) {
        if (!IsWord("s") && !IsWord("d")) {
            return Fail("expected value type s or d before '" + current.text + "'");
        }
        value.type = static_cast<char>(std::tolower(static_cast<unsigned char>(current.text[0])));
        Advance();
        if (!IsName()) {
            return Fail("expected value data");
        }
        value.data = current.text;
        Advance();
        return true;
    }

    bool ParseKey(RegistryKey& key) {
        if (IsWord("NoRemove")) {
            key.removal = RegistryKey::Removal::NoRemove;
            Advance();
        } else if (IsWord("ForceRemove")) {
            key.removal = RegistryKey::Removal::ForceRemove;
            Advance();
        } else if (IsWord("Delete")) {
            key.removal = RegistryKey::Removal::Delete;
            Advance();
        }
        if (!IsName()) {
            return Fail("expected a key name");
        }
        key.name = current.text;
        Advance();
        if (current.kind == Token::Kind::Equals) {
            Advance();
            RegistryValue value;
            if (!ParseTypedData(value)) {
                return false;
            }
            key.defaultValue = std::move(value);
        }
        if (current.kind != Token::Kind::Open) {
            return true;
        }
        Advance();
        while (current.kind != Token::Kind::Close) {
            if (current.kind == Token::Kind::End) {
                return Fail("missing } after key " + key.name);
            }
            if (IsWord("val")) {
                Advance();
                RegistryValue value;
                if (!IsName()) {
                    return Fail("expected a value name");
                }
                value.name = current.text;
                Advance();
                if (current.kind != Token::Kind::Equals) {
                    return Fail("expected = after value " + value.name);
                }
                Advance();
                if (!ParseTypedData(value)) {
                    return false;
                }
                key.values.push_back(std::move(value));
            } else {
                RegistryKey subkey;
                if (++depth > MaxKeyDepth) {
                    return Fail("keys nested deeper than the registry's 512 levels");
                }
                const bool parsed = ParseKey(subkey);
                --depth;
                if (!parsed) {
                    return false;
                }
                key.subkeys.push_back(std::move(subkey));
            }
        }
        Advance();
        return true;
    }

    void Advance() {
        while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) {
            ++pos;
        }
        current = Token{};
        if (pos >= text.size()) {
            return;
        }
        char c = text[pos];
        // A brace stands alone; one that starts a longer word, as in {GUID}, is part of a name.
        bool lone =
            pos + 1 >= text.size() || std::isspace(static_cast<unsigned char>(text[pos + 1]));
        if (((c == '{' || c == '}') && lone) || c == '=') {
            current.kind = c == '{'   ? Token::Kind::Open
                           : c == '}' ? Token::Kind::Close
                                      : Token::Kind::Equals;
            current.text = std::string(1, c);
            ++pos;
            return;
        }
        if (c == '\'') {
            current.kind = Token::Kind::Quoted;
            for (++pos; pos < text.size(); ++pos) {
                if (text[pos] == '\'') {
                    if (pos + 1 < text.size() && text[pos + 1] == '\'') {
                        current.text += '\'';
                        ++pos;
                        continue;
                    }
                    ++pos;
                    return;
                }
                current.text += text[pos];
            }
            Fail("unterminated quoted text");
            current.kind = Token::Kind::End;
            return;
        }
        current.kind = Token::Kind::Word;
        while (pos < text.size() && !std::isspace(static_cast<unsigned char>(text[pos])) &&
               text[pos] != '=' && text[pos] != '\'') {
            current.text += text[pos++];
        }
    }

    std::string_view text;
    size_t pos = 0;
    Token current;
    std::string error;
    // Levels below the root of the key being parsed.
    int depth = 0;
};

} // namespace

RegistryScriptResult ParseRegistryScript(std::string_view script,
                                         const std::map<std::string, std::string>& replacements) {
    RegistryScriptResult result;
    std::optional<std::string> text = Substitute(script, replacements, result.error);
    if (!text) {
        return result;
    }
    return Parser(*text).ParseRoots();
}
