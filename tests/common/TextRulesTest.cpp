#include "common/TextRules.h"
#include "common/Errors.h"

#include <gtest/gtest.h>

namespace {

struct TSplitCase {
    const char16_t* Text;
    QStringList Fields;
};

const TSplitCase SplitCases[] = {
    // empty and blank texts give nothing
    {u"", {}},
    {u"   ", {}},
    {u" \t\r\n\x01", {}},
    // blanks and commas both separate, blanks around a comma belong to it
    {u"a,b", {"a", "b"}},
    {u"a b", {"a", "b"}},
    {u"a , b", {"a", "b"}},
    {u"  a\tb  ", {"a", "b"}},
    {u"a\u001fb", {"a", "b"}},
    // empty fields
    {u"a,,b", {"a", "", "b"}},
    {u",a", {"", "a"}},
    {u",", {"", ""}},
    {u",,", {"", "", ""}},
    {u"a,", {"a", ""}},
    {u"a ,", {"a", ""}},
    {u"a, ", {"a"}},
    {u"a,\t\r\n", {"a"}},
    {u", Alpha, Bravo", {"", "Alpha", "Bravo"}},
    // quoted fields
    {u"\"a b\",c", {"a b", "c"}},
    {u"\"a,b\"", {"a,b"}},
    {u"\"\"", {""}},
    {u"\"\",x", {"", "x"}},
    {u"\"say \"\"hi\"\"\"", {"say \"hi\""}},
    {u"\"\"\"\"", {"\""}},
    {u"\"ab\"cd", {"ab", "cd"}},
    {u"\"ab\" cd", {"ab", "cd"}},
    {u"\"ab\",,cd", {"ab", "", "cd"}},
    // a quote inside a bare field is ordinary
    {u"ab\"c", {"ab\"c"}},
    {u"ab\"c d\"", {"ab\"c", "d\""}},
    // no closing quote: the rest without its last character
    {u"\"abc", {"ab"}},
    {u"\"a", {""}},
    {u"\"", {""}},
    {u"x,\"abc def", {"x", "abc de"}},
    {u"\"a\"\"b", {"a\""}},
    {u"\"ab\"\"", {"ab"}},
    {u"\"\"\"x", {"\""}},
    // characters of code 128 and above are ordinary
    {u"\u00a0a,\u00e9t\u00e9 \u20ac", {"\u00a0a", "\u00e9t\u00e9", "\u20ac"}},
};

class SplitCommaTextTest : public ::testing::TestWithParam<size_t> {};

TEST_P(SplitCommaTextTest, GivesFields) {
    const TSplitCase& C = SplitCases[GetParam()];
    EXPECT_EQ(SplitCommaText(QString::fromUtf16(C.Text)), C.Fields)
        << QString::fromUtf16(C.Text).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Rules, SplitCommaTextTest,
                         ::testing::Range<size_t>(0, std::size(SplitCases)));

TEST(SplitCommaText, CodeZeroInsideTextEndsIt) {
    // A literal with an embedded zero needs its length spelt out.
    const QString Text = QString::fromUtf16(u"a,b\0,c", 6);
    EXPECT_EQ(SplitCommaText(Text), (QStringList{"a", "b"}));
    EXPECT_EQ(SplitCommaText(QString::fromUtf16(u"a,\0 x", 5)), (QStringList{"a", ""}));
}

struct TIntCase {
    const char* Text;
    bool Valid;
    int Value;
};

const TIntCase IntCases[] = {
    {"0", true, 0},
    {"42", true, 42},
    {"007", true, 7},
    {"+5", true, 5},
    {"-5", true, -5},
    {"-0", true, 0},
    {"  12", true, 12},
    {"   -12", true, -12},
    {"$10", true, 16},
    {"$ff", true, 255},
    {"xFF", true, 255},
    {"X1a", true, 26},
    {"0x10", true, 16},
    {"0X10", true, 16},
    {"-$10", true, -16},
    {"+0x7f", true, 127},
    {"2147483647", true, 2147483647},
    {"-2147483648", true, -2147483647 - 1},
    {"$7FFFFFFF", true, 2147483647},
    {"-$80000000", true, -2147483647 - 1},
    {"00000000000000000000001", true, 1},
    // the value must fit 32 bits signed: no wrap of large hex numbers
    {"2147483648", false, 0},
    {"-2147483649", false, 0},
    {"$80000000", false, 0},
    {"$FFFFFFFF", false, 0},
    {"99999999999999999999", false, 0},
    // nothing may follow, nothing may be missing
    {"", false, 0},
    {" ", false, 0},
    {"+", false, 0},
    {"-", false, 0},
    {"$", false, 0},
    {"x", false, 0},
    {"0x", false, 0},
    {"-$", false, 0},
    {"12 ", false, 0},
    {"12a", false, 0},
    {"1 2", false, 0},
    {"\t12", false, 0},
    {"--1", false, 0},
    {"+-1", false, 0},
    {"$-10", false, 0},
    {"00x10", false, 0},
    {"0x1g", false, 0},
    {"1.0", false, 0},
    {"1e3", false, 0},
    {"abc", false, 0},
    {" 7 days", false, 0},  // the message quotes the text as given
    {"\xd9\xa3", false, 0}, // an Arabic-Indic digit is no decimal digit here
};

class StrToIntTest : public ::testing::TestWithParam<size_t> {};

TEST_P(StrToIntTest, FollowsWholeNumberRule) {
    const TIntCase& C = IntCases[GetParam()];
    const QString Text = QString::fromUtf8(C.Text);
    int Value = 12345;
    EXPECT_EQ(TryStrToInt(Text, Value), C.Valid) << C.Text;
    if (C.Valid) {
        EXPECT_EQ(Value, C.Value) << C.Text;
        EXPECT_EQ(StrToInt(Text), C.Value) << C.Text;
    } else {
        EXPECT_EQ(Value, 12345) << "untouched on failure: " << C.Text;
        try {
            StrToInt(Text);
            ADD_FAILURE() << "no error for " << C.Text;
        } catch (const EConvertError& E) {
            EXPECT_EQ(E.Message(), u'\'' + Text + "' is not a valid integer value");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rules, StrToIntTest, ::testing::Range<size_t>(0, std::size(IntCases)));

struct TValueCase {
    QStringList Lines;
    const char* Name;
    const char* Value;
};

const TValueCase ValueCases[] = {
    {{"port=6711", "password=secret"}, "port", "6711"},
    {{"port=6711", "password=secret"}, "PASSWORD", "secret"},
    {{"Port=1", "port=2"}, "port", "1"},
    {{"port = 6711"}, "port", ""},       // the name is "port " here
    {{"port = 6711"}, "port ", " 6711"}, // not trimmed
    {{"port=a=b"}, "port", "a=b"},       // after the first "="
    {{"port="}, "port", ""},
    {{"port", "port=5"}, "port", "5"}, // lines without "=" are skipped
    {{"=x"}, "", "x"},
    {{"ip=127.0.0.1"}, "port", ""},
    {{}, "port", ""},
    {{"a=1", "b=2 "}, "b", "2 "},
};

class ValueOfNameTest : public ::testing::TestWithParam<size_t> {};

TEST_P(ValueOfNameTest, FindsFirstMatchingLine) {
    const TValueCase& C = ValueCases[GetParam()];
    EXPECT_EQ(ValueOfName(C.Lines, C.Name), QString::fromUtf8(C.Value)) << C.Name;
}

INSTANTIATE_TEST_SUITE_P(Rules, ValueOfNameTest,
                         ::testing::Range<size_t>(0, std::size(ValueCases)));

struct TFormatCase {
    const char* Fmt;
    QStringList Args;
    const char* Result; // nullptr: the format is refused
};

const TFormatCase FormatCases[] = {
    {"Files in %s", {"Intro"}, "Files in Intro"},
    {"%s -- %s %s", {"Scan", "5", "Files found"}, "Scan -- 5 Files found"},
    {"%smods\\%s\\Levels\\", {"C:\\BF2\\", "bf2"}, "C:\\BF2\\mods\\bf2\\Levels\\"},
    {"100%% done", {}, "100% done"},
    {"%s%%", {"50"}, "50%"},
    {"no format", {"extra"}, "no format"},
    {"%s", {"a", "b"}, "a"}, // extra arguments are ignored
    {"%s", {"%s"}, "%s"},    // arguments are not formats
    {"%S", {"x"}, "x"},
    {"%1:s %0:s %s", {"a", "b"}, "b a b"},
    {"[%5s]", {"ab"}, "[   ab]"},
    {"[%-5s]", {"ab"}, "[ab   ]"},
    {"[%.2s]", {"abcd"}, "[ab]"},
    {"[%1s]", {"abc"}, "[abc]"},
    {"", {}, ""},
    // refused
    {"%d", {"5"}, nullptr},
    {"%x", {"5"}, nullptr},
    {"%s %s", {"one"}, nullptr},
    {"%s", {}, nullptr},
    {"50%", {}, nullptr},
    {"%", {}, nullptr},
    {"%5", {"a"}, nullptr},
    {"%*s", {"3", "a"}, nullptr},
    {"%2:s", {"a", "b"}, nullptr},
    {"% s", {"a"}, nullptr},
    {"%99999999999s", {"a"}, nullptr},
    // widths and precisions are bounded, so a format cannot exhaust memory
    {"%300000000s", {"a"}, nullptr},
    {"%4097s", {"a"}, nullptr},
    {"%-4097s", {"a"}, nullptr},
    {"%.4097s", {"a"}, nullptr},
    {"%4097:s", {"a"}, nullptr},
};

class FormatStrTest : public ::testing::TestWithParam<size_t> {};

TEST_P(FormatStrTest, FillsOrRefuses) {
    const TFormatCase& C = FormatCases[GetParam()];
    const QString Fmt = QString::fromUtf8(C.Fmt);
    if (C.Result) {
        EXPECT_EQ(FormatStr(Fmt, C.Args), QString::fromUtf8(C.Result)) << C.Fmt;
        return;
    }
    try {
        FormatStr(Fmt, C.Args);
        ADD_FAILURE() << "no error for " << C.Fmt;
    } catch (const EConvertError& E) {
        EXPECT_EQ(E.Message(), "Format '" + Fmt + "' invalid or incompatible with argument");
    }
}

INSTANTIATE_TEST_SUITE_P(Rules, FormatStrTest, ::testing::Range<size_t>(0, std::size(FormatCases)));

TEST(FormatStr, WidthAndPrecisionUpToTheBound) {
    EXPECT_EQ(FormatStr("%4096s", {"a"}), QString(4095, u' ') + u'a');
    EXPECT_EQ(FormatStr("%-4096.4096s", {"a"}), u'a' + QString(4095, u' '));
}

} // namespace

TEST(TrimBlanks, CodesUpToBlankGoAtBothEndsOnly) {
    EXPECT_EQ(TrimBlanks(QStringLiteral("\x01 a b\t\r\n")), QStringLiteral("a b"));
    EXPECT_EQ(TrimBlanks(QByteArray("\0 \xA7x \x7f", 6)), QByteArray("\xA7x \x7f"));
    EXPECT_EQ(TrimBlanks(QStringLiteral(" \t ")), QString());
}
