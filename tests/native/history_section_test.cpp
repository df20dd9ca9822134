#include "store/HistorySection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

std::vector<std::string> Numbered(std::size_t count) {
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < count; ++i) {
        entries.push_back("text " + std::to_string(i));
    }
    return entries;
}

TEST(HistorySection, KeysCountFromZeroForAtMostElevenEntries) {
    EXPECT_EQ(""s, BuildHistorySection({}));
    EXPECT_EQ("0=Ahoj\0"s, BuildHistorySection({"Ahoj"}));

    std::string eleven;
    for (int i = 0; i <= 10; ++i) {
        eleven += std::to_string(i) + "=text " + std::to_string(i) + '\0';
    }
    EXPECT_EQ(eleven, BuildHistorySection(Numbered(11)));
    EXPECT_EQ(eleven, BuildHistorySection(Numbered(12))) << "the twelfth is not kept";
}

TEST(HistorySection, EntriesStayOnTheirLineAndKeepTheirEquals) {
    EXPECT_EQ("0=Ahoj  zítra v 8\0"
              "1=a=b =c\0"
              "2=\0"s,
              BuildHistorySection({"Ahoj\r\nzítra v 8", "a=b\n=c", ""}));
    EXPECT_EQ((std::vector<std::string>{"Ahoj  zítra v 8", "a=b =c", ""}),
              ParseHistorySection(BuildHistorySection({"Ahoj\r\nzítra v 8", "a=b\r=c", ""})));
}

TEST(HistorySection, OlderEntriesThatDoNotFitTheBlockAreLeftOutWhole) {
    // Three entries of 12000 characters: two fit the block, the third would overflow it.
    const std::vector<std::string> large(3, std::string(12000, 'x'));
    std::string section = BuildHistorySection(large);
    EXPECT_EQ("0=" + large[0] + '\0' + "1=" + large[1] + '\0', section);

    std::vector<std::string> exact = {std::string(HistorySectionBlock - 4, 'y'), "z"};
    EXPECT_EQ(HistorySectionBlock - 1, BuildHistorySection(exact).size())
        << "an entry that ends exactly at the block's last byte is kept";
    exact[0] += 'y';
    EXPECT_EQ(""s, BuildHistorySection(exact)) << "one byte more does not fit";
}

TEST(HistorySection, ListComesInSectionOrderWhateverTheKeys) {
    EXPECT_TRUE(ParseHistorySection("").empty());
    EXPECT_TRUE(ParseHistorySection("\0\0"s).empty());
    EXPECT_EQ((std::vector<std::string>{"Ahoj", "Zítra v 8"}),
              ParseHistorySection("7=Ahoj\0"
                                  "3=Zítra v 8\0"s));
    EXPECT_EQ((std::vector<std::string>{"whole line", "x=y", ""}),
              ParseHistorySection("whole line\0"
                                  "k=x=y\0"
                                  "k=\0"s));
    EXPECT_EQ((std::vector<std::string>{"last"}), ParseHistorySection("0=last"))
        << "a section text without its final NUL";
}

} // namespace
