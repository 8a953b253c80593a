// Reader of the ".cgw" definition text: a small tokenizer and a recursive
// descent over windows, widgets, attributes and bindings. Every input gives a
// result or an error with its line; nothing in the text can crash it.
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "platform/files/paths.h"
#include "toolkit/core/gw_definition.h"

namespace {

enum class Tok { kEnd, kWord, kString, kOpen, kClose, kEquals, kComma, kSeparator, kError };

struct Token {
    Tok type = Tok::kEnd;
    std::string text;
    int line = 1;
};

class Lexer {
public:
    explicit Lexer(std::string_view text) : text_(text) {}

    Token Next() {
        SkipBlanksAndComments();
        Token t;
        t.line = line_;
        if (pos_ >= text_.size()) return t;
        char c = text_[pos_];
        if (c == '"') return ReadString();
        if (c == '\n') ++line_;
        if (Tok single = SingleCharToken(c); single != Tok::kEnd) {
            ++pos_;
            t.type = single;
            return t;
        }
        t.type = Tok::kWord;
        while (pos_ < text_.size() && !IsDelimiter(text_[pos_])) t.text += text_[pos_++];
        return t;
    }

private:
    static Tok SingleCharToken(char c) {
        switch (c) {
            case '\n':
            case ';':
                return Tok::kSeparator;
            case '{':
                return Tok::kOpen;
            case '}':
                return Tok::kClose;
            case '=':
                return Tok::kEquals;
            case ',':
                return Tok::kComma;
            default:
                return Tok::kEnd;
        }
    }

    static bool IsDelimiter(char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '{' || c == '}' || c == '=' || c == ',' ||
               c == ';' || c == '"';
    }

    void SkipBlanksAndComments() {
        while (pos_ < text_.size()) {
            char c = text_[pos_];
            if (c == ' ' || c == '\t' || c == '\r') {
                ++pos_;
            } else if (c == '#') {
                while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
            } else {
                break;
            }
        }
    }

    Token ReadString() {
        Token t;
        t.line = line_;
        ++pos_;  // opening quote
        while (pos_ < text_.size()) {
            char c = text_[pos_++];
            if (c == '"') {
                t.type = Tok::kString;
                return t;
            }
            if (c == '\n') break;
            if (c == '\\' && pos_ < text_.size()) {
                char e = text_[pos_];
                // Only these escapes; any other backslash stays, so Windows
                // paths ("..\TMP") can be written as they are.
                if (e == '"' || e == '\\') {
                    t.text += e;
                    ++pos_;
                    continue;
                }
                if (e == 'n' || e == 't') {
                    t.text += e == 'n' ? '\n' : '\t';
                    ++pos_;
                    continue;
                }
            }
            t.text += c;
        }
        t.type = Tok::kError;
        t.text = "unterminated string";
        return t;
    }

    std::string_view text_;
    size_t pos_ = 0;
    int line_ = 1;
};

class Parser {
public:
    Parser(std::string_view text, const std::string& path) : lexer_(text), path_(path) { Advance(); }

    GwParseResult Run() {
        result_.file.path = path_;
        while (!failed_) {
            SkipSeparators();
            if (cur_.type == Tok::kEnd) break;
            if (cur_.type == Tok::kError) {
                Fail(cur_.text);
                break;
            }
            if (cur_.type != Tok::kWord) {
                Fail("expected a widget kind, \"database\" or \"bitmaps\"");
                break;
            }
            if (platform::EqualNoCase(cur_.text, "database")) {
                ParseValueBlock(false);
            } else if (platform::EqualNoCase(cur_.text, "bitmaps")) {
                ParseValueBlock(true);
            } else {
                auto def = std::make_shared<GwDefinition>();
                std::string kind_word = cur_.text;
                int kind_line = cur_.line;
                Advance();
                if (ParseWidget(*def, kind_word, kind_line, 1)) result_.file.windows.push_back(std::move(def));
            }
        }
        result_.ok = !failed_;
        if (failed_) result_.file = GwDefinitionFile{};
        return std::move(result_);
    }

private:
    void Advance() { cur_ = lexer_.Next(); }

    void SkipSeparators() {
        while (cur_.type == Tok::kSeparator) Advance();
    }

    void Fail(const std::string& message) {
        if (failed_) return;
        failed_ = true;
        result_.error = message;
        result_.error_line = cur_.line;
    }

    bool ExpectName(std::string* out, const char* what) {
        if (cur_.type != Tok::kWord && cur_.type != Tok::kString) {
            Fail(std::string("expected ") + what);
            return false;
        }
        *out = cur_.text;
        Advance();
        return true;
    }

    bool Expect(Tok type, const char* what) {
        if (cur_.type == Tok::kError) {
            Fail(cur_.text);
            return false;
        }
        if (cur_.type != type) {
            Fail(std::string("expected ") + what);
            return false;
        }
        Advance();
        return true;
    }

    // After a statement: a separator, or the closing brace of the block.
    bool EndStatement() {
        if (cur_.type == Tok::kSeparator) {
            Advance();
            return true;
        }
        if (cur_.type == Tok::kClose || cur_.type == Tok::kEnd) return true;
        if (cur_.type == Tok::kError) {
            Fail(cur_.text);
        } else {
            Fail("expected the end of the line");
        }
        return false;
    }

    bool ParseValues(std::vector<std::string>* values) {
        while (true) {
            if (cur_.type != Tok::kWord && cur_.type != Tok::kString) {
                Fail(cur_.type == Tok::kError ? cur_.text : "expected a value");
                return false;
            }
            values->push_back(cur_.text);
            Advance();
            if (cur_.type != Tok::kComma) return true;
            Advance();
        }
    }

    // "database { name = value ... }" or "bitmaps { name = width, height ... }".
    void ParseValueBlock(bool bitmaps) {
        Advance();
        if (!Expect(Tok::kOpen, "\"{\"")) return;
        while (!failed_) {
            SkipSeparators();
            if (cur_.type == Tok::kClose) {
                Advance();
                return;
            }
            std::string name;
            if (!ExpectName(&name, "a value name")) return;
            if (!Expect(Tok::kEquals, "\"=\"")) return;
            std::vector<std::string> values;
            int line = cur_.line;
            if (!ParseValues(&values)) return;
            if (bitmaps) {
                auto size = ParseSize(values);
                if (!size) {
                    result_.error_line = line;
                    Fail("a bitmap needs a width and a height");
                    return;
                }
                result_.file.bitmaps.emplace_back(name, *size);
            } else {
                result_.file.values.emplace_back(name, values.front());
            }
            if (!EndStatement()) return;
        }
    }

    static std::optional<GwBitmapSize> ParseSize(const std::vector<std::string>& values) {
        if (values.size() != 2 && values.size() != 3) return std::nullopt;
        int out[2];
        for (int i = 0; i < 2; ++i) {
            const std::string& v = values[i];
            if (v.empty() || v.size() > 6 || v.find_first_not_of("0123456789") != std::string::npos)
                return std::nullopt;
            out[i] = std::atoi(v.c_str());
        }
        GwBitmapSize size{out[0], out[1], std::string()};
        if (values.size() == 3) {
            if (values[2].empty()) return std::nullopt;
            size.image = values[2];
        }
        return size;
    }

    // KIND NAME "{" members "}"; the kind word was read already, the current
    // token is the name.
    bool ParseWidget(GwDefinition& def, const std::string& kind_word, int kind_line, int depth) {
        if (depth > kGwMaxDefinitionDepth) {
            Fail("widgets nested too deeply");
            return false;
        }
        def.file = path_;
        def.line = kind_line;
        if (!GwKindFromName(kind_word, &def.kind)) {
            Fail("unknown widget kind \"" + kind_word + "\"");
            return false;
        }
        if (!ExpectName(&def.name, "a widget name")) return false;
        if (!Expect(Tok::kOpen, "\"{\"")) return false;
        while (!failed_) {
            SkipSeparators();
            if (cur_.type == Tok::kClose) {
                Advance();
                return EndStatement();
            }
            if (cur_.type == Tok::kEnd) {
                Fail("missing \"}\" of \"" + def.name + "\"");
                return false;
            }
            if (cur_.type != Tok::kWord) {
                Fail(cur_.type == Tok::kError ? cur_.text : "expected an attribute, a binding or a widget");
                return false;
            }
            if (!ParseMember(def, depth)) return false;
        }
        return false;
    }

    bool ParseMember(GwDefinition& def, int depth) {
        std::string word = cur_.text;
        int line = cur_.line;
        Advance();
        if (cur_.type == Tok::kEquals) {
            Advance();
            GwAttribute attr{word, {}, line};
            if (!ParseValues(&attr.values)) return false;
            def.attributes.push_back(std::move(attr));
            return EndStatement();
        }
        if (word == "on") {
            GwBindingDef b;
            b.line = line;
            if (!ExpectName(&b.event, "an event name")) return false;
            if (!Expect(Tok::kEquals, "\"=\"")) return false;
            if (cur_.type != Tok::kWord) {
                Fail("expected a callback name");
                return false;
            }
            b.callback = cur_.text;
            Advance();
            if (cur_.type == Tok::kString || cur_.type == Tok::kWord) {
                b.has_user_data = true;
                b.user_data = cur_.text;
                Advance();
            }
            def.bindings.push_back(std::move(b));
            return EndStatement();
        }
        GwDefinition child;
        if (!ParseWidget(child, word, line, depth + 1)) return false;
        def.children.push_back(std::move(child));
        return true;
    }

    Lexer lexer_;
    std::string path_;
    Token cur_;
    bool failed_ = false;
    GwParseResult result_;
};

}  // namespace

GwParseResult GwParseDefinitions(std::string_view text, const std::string& path) { return Parser(text, path).Run(); }

const GwAttribute* GwDefinition::find(std::string_view attr_name, int language) const {
    if (language != 0) {
        std::string variant = std::string(attr_name) + "." + std::to_string(language);
        for (const auto& a : attributes)
            if (a.name == variant) return &a;
    }
    for (const auto& a : attributes)
        if (a.name == attr_name) return &a;
    return nullptr;
}

std::vector<const GwAttribute*> GwDefinition::find_all(std::string_view attr_name) const {
    std::vector<const GwAttribute*> out;
    for (const auto& a : attributes)
        if (a.name == attr_name) out.push_back(&a);
    return out;
}

std::string GwDefinition::text(std::string_view attr_name, int language, const std::string& if_missing) const {
    const GwAttribute* a = find(attr_name, language);
    return a != nullptr ? a->values.front() : if_missing;
}

int GwDefinition::number(std::string_view attr_name, int language, int if_missing) const {
    const GwAttribute* a = find(attr_name, language);
    return a != nullptr ? static_cast<int>(GwDefinitionNumber(a->values.front(), if_missing)) : if_missing;
}

bool GwDefinition::flag(std::string_view attr_name, int language, bool if_missing) const {
    const GwAttribute* a = find(attr_name, language);
    return a != nullptr ? GwDefinitionFlag(a->values.front(), if_missing) : if_missing;
}

double GwDefinition::real(std::string_view attr_name, int language, double if_missing) const {
    const GwAttribute* a = find(attr_name, language);
    if (a == nullptr) return if_missing;
    char* end = nullptr;
    double v = std::strtod(a->values.front().c_str(), &end);
    return end != a->values.front().c_str() && *end == '\0' && std::isfinite(v) ? v : if_missing;
}

bool GwDefinitionFlag(const std::string& value, bool if_unknown) {
    for (const char* yes : {"yes", "true", "on", "1"})
        if (platform::EqualNoCase(value, yes)) return true;
    for (const char* no : {"no", "false", "off", "0"})
        if (platform::EqualNoCase(value, no)) return false;
    return if_unknown;
}

long GwDefinitionNumber(const std::string& value, long if_invalid) {
    if (value.empty()) return if_invalid;
    errno = 0;
    char* end = nullptr;
    bool hex = value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X');
    long long v = std::strtoll(value.c_str(), &end, hex ? 16 : 10);
    if (end == value.c_str() || *end != '\0' || errno == ERANGE || v < INT32_MIN || v > INT32_MAX) return if_invalid;
    return static_cast<long>(v);
}
