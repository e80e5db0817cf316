#include "common/TextCodec.h"

#include <gtest/gtest.h>

namespace {

struct TDecodeCase {
    QByteArray Bytes;
    const char16_t* Text;
};

const TDecodeCase DecodeCases[] = {
    {"", u""},
    {"plain ASCII\r\n", u"plain ASCII\r\n"},
    // Windows-1252 bytes
    {"\xbb Chat \xa7", u"\u00bb Chat \u00a7"},
    {"\x80 5", u"\u20ac 5"},
    {"caf\xe9", u"caf\u00e9"},
    {"\x85\x91q\x92\x93\x94\x96\x97\x99\x9f",
     u"\u2026\u2018q\u2019\u201c\u201d\u2013\u2014\u2122\u0178"},
    {"\x8a\x8c\x8e\x9a\x9c\x9e\x83\x88\x98",
     u"\u0160\u0152\u017d\u0161\u0153\u017e\u0192\u02c6\u02dc"},
    // the five undefined bytes keep their number
    {"\x81\x8d\x8f\x90\x9d", u"\u0081\u008d\u008f\u0090\u009d"},
    // valid UTF-8 passes through, its byte-order mark dropped
    {"\xc2\xbb Chat \xc2\xa7", u"\u00bb Chat \u00a7"},
    {"\xe2\x82\xac", u"\u20ac"},
    {"\xef\xbb\xbf[Header]", u"[Header]"},
    {"\xf0\x9f\x98\x80", u"\U0001F600"},
    // one bad sequence makes the whole text Windows-1252
    {"\xc2\xbb \xbb", u"\u00c2\u00bb \u00bb"},
    {"\xef\xbb\xbf\xe9", u"\u00ef\u00bb\u00bf\u00e9"},
    {"\xc0\xaf", u"\u00c0\u00af"},                     // overlong
    {"\xed\xa0\x80", u"\u00ed\u00a0\u20ac"},           // a surrogate
    {"\xf4\x90\x80\x80", u"\u00f4\u0090\u20ac\u20ac"}, // above U+10FFFF
    {"\xe2\x82", u"\u00e2\u201a"},                     // cut short
};

class DecodeAnsiTest : public ::testing::TestWithParam<size_t> {};

TEST_P(DecodeAnsiTest, ReadsUtf8OrWindows1252) {
    const TDecodeCase& C = DecodeCases[GetParam()];
    EXPECT_EQ(DecodeAnsi(C.Bytes), QString::fromUtf16(C.Text)) << C.Bytes.toHex().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Codec, DecodeAnsiTest,
                         ::testing::Range<size_t>(0, std::size(DecodeCases)));

TEST(DecodeAnsi, EveryByteDecodesAsWindows1252AndBack) {
    QByteArray All;
    for (int B = 0; B < 256; ++B)
        All.append(static_cast<char>(B));
    const QString Text = DecodeAnsi(All);
    ASSERT_EQ(Text.size(), 256);
    EXPECT_EQ(EncodeWindows1252(Text), All);
}

struct TEncodeCase {
    const char16_t* Text;
    QByteArray Bytes;
};

const TEncodeCase EncodeCases[] = {
    {u"abc", "abc"},
    {u"\u00a7\u00bb\u00e9\u00ff", "\xa7\xbb\xe9\xff"},
    {u"\u20ac\u2122\u0178", "\x80\x99\x9f"},
    {u"\u0081\u009d", "\x81\x9d"},
    {u"\u0080", "?"},       // not in the code page
    {u"\u0416x", "?x"},     // Cyrillic
    {u"\U0001F600!", "?!"}, // one character, one '?'
};

class EncodeWindows1252Test : public ::testing::TestWithParam<size_t> {};

TEST_P(EncodeWindows1252Test, MapsOrReplaces) {
    const TEncodeCase& C = EncodeCases[GetParam()];
    EXPECT_EQ(EncodeWindows1252(QString::fromUtf16(C.Text)), C.Bytes);
}

INSTANTIATE_TEST_SUITE_P(Codec, EncodeWindows1252Test,
                         ::testing::Range<size_t>(0, std::size(EncodeCases)));

} // namespace
