#include "parameters/values/dstring.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Shape {
    std::string text;
    int32_t length;
    int32_t capacity;
    int32_t growStep;
};

void ExpectShape(const dstring& s, const Shape& want) {
    EXPECT_EQ(std::string(s.View()), want.text);
    EXPECT_EQ(std::string(s.Text()), want.text);  // NUL-terminated at its length
    EXPECT_EQ(s.Length(), want.length);
    EXPECT_EQ(s.Capacity(), want.capacity);
    EXPECT_EQ(s.GrowStep(), want.growStep);
}

// The text a throwing call threw, or "" when it threw nothing.
template <typename F>
std::string ThrownText(F&& call) {
    try {
        call();
    } catch (const char* text) {
        return text;
    }
    return "";
}

TEST(Dstring, ConstructionSetsCapacityFromTextAndStep) {
    struct Case {
        const char* text;
        int32_t step;
        Shape want;
    } cases[] = {
        {"abc", 10, {"abc", 3, 13, 32}},
        {"abc", 40, {"abc", 3, 43, 40}},
        {"", 0, {"", 0, 0, 32}},
        {nullptr, 5, {"", 0, 32, 32}},
        // A negative step must not leave the text without room.
        {"abc", -5, {"abc", 3, 3, 32}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text != nullptr ? c.text : "(null)");
        ExpectShape(dstring(c.text, c.step), c.want);
    }
    ExpectShape(dstring(), {"", 0, 32, 32});

    const dstring source("abc", 10);
    ExpectShape(dstring(source), {"abc", 3, 13, 32});
}

TEST(Dstring, FormatsNumbersWithThirtyTwoBitLong) {
    ExpectShape(dstring::FromInt(-42, "%05d"), {"-0042", 5, 32, 32});
    ExpectShape(dstring::FromUnsigned(7, "%u"), {"7", 1, 32, 32});
    ExpectShape(dstring::FromLong(-1, "%08lX"), {"FFFFFFFF", 8, 64, 64});
    ExpectShape(dstring::FromUnsignedLong(4294967295u, "%lu"), {"4294967295", 10, 64, 64});
    ExpectShape(dstring::FromDouble(1.3, "%0.2lf"), {"1.30", 4, 64, 64});
    // A text of exactly the reserved capacity still fits.
    EXPECT_EQ(dstring::FromInt(1, "%32d").Length(), 32);
    EXPECT_EQ(dstring::FromDouble(1.0, "%64f").Length(), 64);
}

TEST(Dstring, FormattedTextBeyondItsCapacityThrowsTheTextOfItsType) {
    EXPECT_EQ(ThrownText([] { dstring::FromInt(1, "%33d"); }),
              "dstring -> Invalid size during initialization with type int");
    EXPECT_EQ(ThrownText([] { dstring::FromUnsigned(1, "%33u"); }),
              "dstring -> Invalid size during initialization with type unsigned int");
    EXPECT_EQ(ThrownText([] { dstring::FromLong(1, "%65ld"); }),
              "dstring -> Invalid size during initialization with type long");
    EXPECT_EQ(ThrownText([] { dstring::FromUnsignedLong(1, "%65lu"); }),
              "dstring -> Invalid size during initialization with type unsigned long");
    EXPECT_EQ(ThrownText([] { dstring::FromDouble(1e300, "%f"); }),
              "dstring -> Invalid size during initialization with type double");
}

TEST(Dstring, AppendStaysInPlaceOnlyBelowTheCapacity) {
    dstring s("abc", 3);  // capacity 6
    s.Append(dstring("de"));
    ExpectShape(s, {"abcde", 5, 6, 32});

    dstring full("abc", 3);
    full += dstring("def");  // new length equals the capacity: moves
    ExpectShape(full, {"abcdef", 6, 38, 32});

    dstring self("ab", 10);
    self += self;
    ExpectShape(self, {"abab", 4, 36, 32});

    ExpectShape(dstring("x", 0) + dstring("yz"), {"xyz", 3, 35, 32});
    ExpectShape(dstring("x", 0).ConcatText("yz"), {"xyz", 3, 35, 32});
    ExpectShape(dstring("x", 0).ConcatText(nullptr), {"x", 1, 33, 32});
}

TEST(Dstring, AssignCopiesInPlaceWhenTheCapacityHoldsTheText) {
    dstring s("abcdef", 0);  // capacity 6
    s.AssignText("xyz");
    ExpectShape(s, {"xyz", 3, 6, 32});
    s.AssignText("1234567");
    ExpectShape(s, {"1234567", 7, 39, 32});
    const dstring& self = s;  // assigned to itself
    s = self;
    ExpectShape(s, {"1234567", 7, 39, 32});

    s.AssignChar('q');
    ExpectShape(s, {"q", 1, 39, 32});
    dstring empty("", 0);  // no capacity: the character is appended
    empty.AssignChar('q');
    ExpectShape(empty, {"q", 1, 33, 32});

    s.Clear();
    ExpectShape(s, {"", 0, 39, 32});
}

TEST(Dstring, TrimsRunsOfOneCharacter) {
    struct Case {
        const char* text;
        const char* left;
        const char* right;
    } cases[] = {
        {"  ab", "ab", "  ab"},
        {"ab  ", "ab  ", "ab"},
        {"   ", "   ", ""},  // only the left trim keeps a text made of the character
        {"", "", ""},
        {" a b ", "a b ", " a b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        dstring left(c.text);
        left.TrimLeft(' ');
        EXPECT_EQ(std::string(left.Text()), c.left);
        EXPECT_EQ(left.Length(), static_cast<int32_t>(std::string(c.left).size()));
        dstring right(c.text);
        right.TrimRight(' ');
        EXPECT_EQ(std::string(right.Text()), c.right);
        EXPECT_EQ(right.Length(), static_cast<int32_t>(std::string(c.right).size()));
    }
}

TEST(Dstring, MidInsertAndGetAtStayInsideTheText) {
    const dstring abc("abc");
    struct Case {
        int32_t pos;
        int32_t count;
        const char* want;
    } mids[] = {
        {5, 2, ""},
        {1, 10, "bc"},
        {0, 2, "ab"},
        {3, 1, ""},
        {1, 0, ""},
        {-1, 2, ""},
        {1, -1, ""},  // negative arguments give nothing rather than reading before the text
    };
    for (const Case& c : mids) {
        SCOPED_TRACE(testing::Message() << c.pos << "," << c.count);
        EXPECT_EQ(std::string(abc.Mid(c.pos, c.count).View()), c.want);
    }

    dstring s("ac");
    s.Insert(1, dstring("b"));
    EXPECT_EQ(std::string(s.Text()), "abc");
    s.Insert(3, dstring("d"));
    EXPECT_EQ(std::string(s.Text()), "abcd");
    s.Insert(5, dstring("x"));
    s.Insert(-1, dstring("x"));
    EXPECT_EQ(std::string(s.Text()), "abcd");

    EXPECT_EQ(abc.GetAt(2), 'c');
    EXPECT_EQ(abc.GetAt(3), '\0');
    EXPECT_EQ(abc.GetAt(-1), '\0');
    EXPECT_EQ(abc.Find(dstring("bc")), 1);
    EXPECT_EQ(abc.Find(dstring("cb")), -1);
}

TEST(Dstring, EqualityComparesLengthAndCharacters) {
    EXPECT_TRUE(dstring("abc", 0) == dstring("abc", 50));
    EXPECT_FALSE(dstring::IsEqual(dstring("abc"), dstring("ab")));
    EXPECT_FALSE(dstring::IsEqual(dstring("abc"), dstring("ABC")));
}

TEST(Dstring, ReplaceChangesAtMostTheFirstTwoOccurrences) {
    struct Case {
        const char* text;
        const char* find;
        const char* with;
        const char* want;
    } cases[] = {
        {"aaa", "a", "b", "bba"},
        {"1,5,6,7", ",", ".", "1.5.6,7"},
        {"abc", "", "x", "abc"},
        {"abc", "z", "x", "abc"},
        {"abc", nullptr, "x", "abc"},
        {"a,b", ",", nullptr, "ab"},
        // The second occurrence is looked for after the first replacement, so
        // a replacement holding the searched text is never replaced again.
        {"File %s not found", "%s", "x%s.txt", "File x%s.txt not found"},
        {"abb", "ab", "a", "ab"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        dstring s(c.text);
        s.Replace(c.find, c.with);
        EXPECT_EQ(std::string(s.Text()), c.want);
    }

    dstring first("aaa");
    first.ReplaceFirst(dstring("a"), dstring("b"));
    EXPECT_EQ(std::string(first.Text()), "baa");
    dstring self("ab");
    self.ReplaceFirst(self, dstring("x"));
    EXPECT_EQ(std::string(self.Text()), "x");
    dstring inner("abcabc");
    inner.Replace(inner.Text() + 3, "-");  // a text inside the string itself
    EXPECT_EQ(std::string(inner.Text()), "--");
}

}  // namespace
