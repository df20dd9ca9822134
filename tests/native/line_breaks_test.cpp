#include "text/LineBreaks.h"

#include <gtest/gtest.h>

namespace {

TEST(LineBreaks, MarksAndCrLfTurnIntoEachOther) {
    EXPECT_EQ("a\r\nb\r\n\r\nc", BoxTextToMessage("a¶b¶¶c"));
    EXPECT_EQ("a¶b¶¶c", MessageToBoxText("a\r\nb\r\n\r\nc"));
    EXPECT_EQ("a¶b¶c", MessageToBoxText("a\nb\rc")) << "lone breaks are breaks too";
    EXPECT_EQ("čšž¶", MessageToBoxText(BoxTextToMessage("čšž¶")));
    EXPECT_EQ("", BoxTextToMessage(""));
}

} // namespace
