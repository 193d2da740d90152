#include "support/CardRow.h"

#include <gtest/gtest.h>

namespace tessaroc::support {
namespace {

// The row's figures are those of a row of 90-pixel cards 22 % apart: on the
// full table such a row of any length is centred on its origin.
TEST(CardRow, AFullSizeRowIsCentredOnItsOrigin)
{
    const CardRow row(500, LayoutScale::full());
    for (int n = 1; n <= 33; ++n) {
        const double right = row.left(n - 1, n, 90) + 90;
        EXPECT_NEAR(row.origin() - row.start(n), row.end(n) - row.origin(), 1e-9) << n;
        EXPECT_NEAR(right, row.end(n), 1e-9) << n;
    }
}

// The selection is the pictures' places: a card the row raises counts as
// raised until it is put back on the line, at both scales.
TEST(CardRow, ARaisedCardStandsAFifthOfItsHeightAboveTheLine)
{
    for (const LayoutScale s : {LayoutScale::full(), LayoutScale::reduced()}) {
        const double line = s.isReduced() ? 441 : 565;
        const CardRow row(0, s, line);
        const double height = s.y(120);
        EXPECT_EQ(row.raisedTop(height), line - height / 5) << s.ScaleX;
        EXPECT_TRUE(row.isRaised(row.raisedTop(height))) << s.ScaleX;
        EXPECT_TRUE(row.isRaised(line - 0.5)) << s.ScaleX;
        EXPECT_FALSE(row.isRaised(row.restingTop())) << s.ScaleX;
        EXPECT_FALSE(row.isRaised(line + 1)) << s.ScaleX;
    }
}

} // namespace
} // namespace tessaroc::support
