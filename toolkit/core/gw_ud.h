// GwUD: the user data that a callback receives and that a widget carries:
// nothing, a text (from the definition file or set by the program), an
// integer or a pointer. Every accessor answers for every kind, so callers
// never need to check the kind first.
#pragma once

#include <cstdint>
#include <string>

class GwUD {
public:
    enum class Kind { kNone, kText, kInteger, kPointer };

    GwUD() = default;
    GwUD(const char* text) : kind_(text != nullptr ? Kind::kText : Kind::kNone), text_(text != nullptr ? text : "") {}
    GwUD(const std::string& text) : kind_(Kind::kText), text_(text) {}
    GwUD(int value) : kind_(Kind::kInteger), integer_(value) {}
    GwUD(long value) : kind_(Kind::kInteger), integer_(value) {}
    GwUD(void* pointer) : kind_(pointer != nullptr ? Kind::kPointer : Kind::kNone), pointer_(pointer) {}

    Kind kind() const { return kind_; }
    bool is_empty() const { return kind_ == Kind::kNone; }
    bool is_text() const { return kind_ == Kind::kText; }
    bool is_integer() const { return kind_ == Kind::kInteger; }
    bool is_pointer() const { return kind_ == Kind::kPointer; }

    // The text; empty for every other kind. Valid as long as this object.
    const char* text() const { return text_.c_str(); }
    const std::string& string() const { return text_; }
    // The integer; a text reads as a 32-bit decimal number ("3" -> 3), anything
    // else as 0.
    long integer() const;
    // The pointer; null for every other kind.
    void* pointer() const { return pointer_; }
    template <typename T>
    T* pointer_as() const {
        return static_cast<T*>(pointer_);
    }

    bool operator==(const GwUD& other) const {
        return kind_ == other.kind_ && text_ == other.text_ && integer_ == other.integer_ && pointer_ == other.pointer_;
    }

private:
    Kind kind_ = Kind::kNone;
    std::string text_;
    long integer_ = 0;
    void* pointer_ = nullptr;
};
