#include "store/HistorySection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Loading and saving through the toolbar's boxes is tested under Wine (composer_test); here the
// section text's own edges.

namespace {

using namespace std::string_literals;
using Entries = std::vector<std::string>;

TEST(HistorySection, KeysCountFromZeroForAtMostElevenEntries) {
    EXPECT_EQ(""s, BuildHistorySection({}));
    Entries twelve;
    std::string eleven;
    for (int i = 0; i < 12; ++i) {
        twelve.push_back("text " + std::to_string(i));
        eleven += i < 11 ? std::to_string(i) + "=text " + std::to_string(i) + '\0' : "";
    }
    EXPECT_EQ(eleven, BuildHistorySection(twelve)) << "the twelfth is not kept";
}

TEST(HistorySection, EntriesThatDoNotFitTheBlockAreLeftOutWhole) {
    std::vector<std::string> exact = {std::string(HistorySectionBlock - 4, 'y'), "z"};
    EXPECT_EQ(HistorySectionBlock - 1, BuildHistorySection(exact).size())
        << "an entry that ends exactly at the block's last byte is kept";
    exact[0] += 'y';
    EXPECT_EQ(""s, BuildHistorySection(exact)) << "one byte more does not fit";
}

TEST(HistorySection, ListComesInSectionOrderWhateverTheKeys) {
    EXPECT_TRUE(ParseHistorySection("\0\0"s).empty());
    EXPECT_EQ((Entries{"Ahoj", "whole line", "x=y", ""}), ParseHistorySection("7=Ahoj\0"
                                                                              "whole line\0"
                                                                              "k=x=y\0"
                                                                              "k=\0"s));
    EXPECT_EQ((Entries{"last"}), ParseHistorySection("0=last")) << "without the final NUL";
    EXPECT_EQ((Entries{"a=b =c", ""}), ParseHistorySection(BuildHistorySection({"a=b\r=c", ""})));
}

} // namespace
