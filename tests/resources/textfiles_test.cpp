#include "texts_support.h"

using namespace velmora;

// Byte-level rules every text obeys: 7-bit ASCII, CR LF line ends only, and
// just enough NUL padding to make the size a multiple of four.
class TextFileFormatTest : public ::testing::TestWithParam<int>
{};

TEST_P(TextFileFormatTest, IsPaddedSevenBitAsciiWithCrLfLines)
{
    const int number = GetParam();
    VELMORA_REQUIRE_TEXT(number);
    const QByteArray bytes = textResource(number);
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_EQ(bytes.size() % 4, 0);

    qsizetype textSize = bytes.size();
    while (textSize > 0 && bytes.at(textSize - 1) == '\0')
        --textSize;
    EXPECT_EQ(bytes.size() - textSize, (4 - textSize % 4) % 4) << "padding is 0-3 NULs, no more";

    for (qsizetype i = 0; i < textSize; ++i) {
        const char c = bytes.at(i);
        ASSERT_NE(c, '\0') << "NUL inside the text at byte " << i;
        ASSERT_GE(static_cast<signed char>(c), 0) << "non-ASCII byte at " << i;
        if (c == '\r') {
            ASSERT_TRUE(i + 1 < textSize && bytes.at(i + 1) == '\n') << "lone CR at " << i;
        }
        if (c == '\n') {
            ASSERT_TRUE(i > 0 && bytes.at(i - 1) == '\r') << "lone LF at " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllTexts, TextFileFormatTest, ::testing::ValuesIn(kTextResourceNumbers),
                         [](const auto &info) { return std::to_string(info.param); });
