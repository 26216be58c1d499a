// Text decoding and the text forms of exact values, at their edges.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <tuple>

#include "jet/format_error.h"
#include "jet/text_codec.h"
#include "jet/value.h"

namespace kavero::jet {
namespace {

std::vector<std::byte> bytes(std::initializer_list<int> values) {
    std::vector<std::byte> out;
    for (int v : values) out.push_back(static_cast<std::byte>(v));
    return out;
}

TEST(TextCodec, Ucs2JoinsSurrogatePairsAndMarksLoneHalves) {
    EXPECT_EQ(decodeUcs2(bytes({0x41, 0, 0x3D, 0xD8, 0x00, 0xDE})), "A\xF0\x9F\x98\x80"); // U+1F600
    EXPECT_EQ(decodeUcs2(bytes({0x3D, 0xD8, 0x41, 0})), "\xEF\xBF\xBD"
                                                        "A");
    EXPECT_EQ(decodeUcs2(bytes({0x00, 0xDE})), "\xEF\xBF\xBD");
    EXPECT_EQ(decodeUcs2({}), "");
    EXPECT_THROW(decodeUcs2(bytes({0x41})), FormatError);
}

TEST(TextCodec, CompressedJet4TextWithModeSwitches) {
    EXPECT_EQ(decodeJet4Text(bytes({0xFF, 0xFE, 'a', 'b'})), "ab");
    // 0x00 switches to UCS-2 pairs and back.
    EXPECT_EQ(decodeJet4Text(bytes({0xFF, 0xFE, 'a', 0x00, 0x1F, 0x04, 0x00, 'z'})), "a\xD0\x9Fz");
    EXPECT_EQ(decodeJet4Text(bytes({0xFF, 0xFE})), "");
    EXPECT_THROW(decodeJet4Text(bytes({0xFF, 0xFE, 0x00, 0x41})), FormatError);
    EXPECT_EQ(decodeJet4Text(bytes({0x41, 0x00})), "A"); // no marker: plain UCS-2
}

TEST(TextCodec, Windows1252MapsUndefinedBytesAsWindowsDoes) {
    const CodePageDecoder decoder;
    EXPECT_EQ(decoder.decode(bytes({0x80, 0x81, 0x9F, 0xE9})), "\xE2\x82\xAC\xC2\x81\xC5\xB8\xC3\xA9");
    EXPECT_EQ(decoder.decode(bytes({0x8D, 0x8F, 0x90, 0x9D})), "\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
}

TEST(TextCodec, OtherCodePagesAndCutSequences) {
    const CodePageDecoder gbk(936);
    EXPECT_EQ(gbk.decode(bytes({0xB1, 0xE0, 0xC2, 0xEB})), "编码");
    EXPECT_EQ(gbk.decode(bytes({'A', 0xB1})), "A\xEF\xBF\xBD"); // cut in the middle of a character
    EXPECT_THROW(CodePageDecoder(123456), FormatError);
}

TEST(Values, DatesKeepTheTimeOfDayForNegativeDaysAndRoundToTheSecond) {
    const std::pair<double, const char*> cases[] = {
        {-1.1, "1899-12-29 02:24:00"},
        {-49141.53125, "1765-06-14 12:45:00"},
        {-657270.53125, "0100-06-14 12:45:00"},
        {-463126, "0632-01-01 00:00:00"},
        {2958101, "9999-01-01 00:00:00"},
        {0, "1899-12-30 00:00:00"},
        {-657434, "0100-01-01 00:00:00"},
        {1.0 - 0.4 / 86400, "1899-12-31 00:00:00"}, // carried over
        {0.5 + 43.688 / 86400, "1899-12-30 12:00:44"},
        {std::nan(""), ""},
        {1e300, ""},
    };
    for (const auto& [days, text] : cases) EXPECT_EQ(DateTime{days}.toString(), text) << days;
    EXPECT_EQ(DateTime{-1e300}.split().year, 0);
    const DateParts parts = DateTime{-1.25}.split();
    EXPECT_EQ((std::tuple{parts.year, parts.day, parts.hour}), (std::tuple{1899, 29, 6}));
}

TEST(Values, CurrencyAndDecimalDigits) {
    EXPECT_EQ(Currency{35000}.toString(), "3.5000");
    EXPECT_EQ(Currency{-10000}.toString(), "-1.0000");
    EXPECT_EQ(Currency{5}.toString(), "0.0005");
    EXPECT_EQ(Currency{INT64_MIN}.toString(), "-922337203685477.5808");
    Decimal d;
    d.negative = true;
    d.magnitude = {1110554, 0, 0, 0};
    d.scale = 3;
    EXPECT_EQ(d.toString(), "-1110.554");
    EXPECT_DOUBLE_EQ(d.toDouble(), -1110.554);
    d.magnitude = {5, 0, 0, 0};
    EXPECT_EQ(d.toString(), "-0.005");
    d.magnitude = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0};
    d.negative = false;
    d.scale = 0;
    EXPECT_EQ(d.toString(), "79228162514264337593543950335");
    d.magnitude = {};
    d.negative = true;
    EXPECT_EQ(d.toString(), "0");
}

TEST(Values, FloatsTakeTheShortestTextThatReadsBack) {
    EXPECT_EQ(shortestText(0.1f), "0.1");
    EXPECT_EQ(shortestText(444.555), "444.555");
    float f = 0;
    const std::uint32_t bits = 0x3DCCCCCD;
    std::memcpy(&f, &bits, 4);
    EXPECT_EQ(std::stof(shortestText(f)), f);
}

} // namespace
} // namespace kavero::jet
