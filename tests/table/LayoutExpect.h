#pragma once

#include "TableFixture.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace tessaroc::table::test {

// An element's place, size and visibility as the layout left it.
struct Placed
{
    double left, top, width, height;
    bool visible;
};

inline Placed placed(const forms::Element &e)
{
    return {e.Left(), e.Top(), e.Width(), e.Height(), e.Visible()};
}
template<class W> Placed placed(const Windowed<W> &w)
{
    return {w.Left(), w.Top(), w.Width(), w.Height(), w.Visible()};
}

// One value of an expected place: a design value that the layout scales, or
// a value used as it stands.
struct Value
{
    double v;
    bool scaled = true;
};
inline Value unscaled(double v)
{
    return {v, false};
}

// One row of a layout table: which control, its expected place and size in
// design pixels, and whether it shows.
struct LayoutRow
{
    std::string name;
    std::function<Placed(MainForm &)> actual;
    Value left, top, width, height;
    bool visible;
};

// The expected value under the layout rule: the design value times the scale
// as a 32-bit float, or the value itself.
inline double expected(Value value, float scale)
{
    if (!value.scaled)
        return value.v;
    return static_cast<float>(static_cast<long double>(value.v) * scale);
}

inline void expectRows(MainForm &form, const std::vector<LayoutRow> &rows, forms::LayoutScale s)
{
    for (const LayoutRow &row : rows) {
        SCOPED_TRACE(row.name);
        const Placed p = row.actual(form);
        EXPECT_DOUBLE_EQ(p.left, expected(row.left, s.ScaleX)) << "Left";
        EXPECT_DOUBLE_EQ(p.top, expected(row.top, s.ScaleY)) << "Top";
        EXPECT_DOUBLE_EQ(p.width, expected(row.width, s.ScaleX)) << "Width";
        EXPECT_DOUBLE_EQ(p.height, expected(row.height, s.ScaleY)) << "Height";
        EXPECT_EQ(p.visible, row.visible) << "Visible";
    }
}

// The two layouts the layout tests run in.
enum class Layout { Full, Reduced };

inline const char *layoutName(Layout layout)
{
    return layout == Layout::Reduced ? "Reduced" : "Full";
}

inline void PrintTo(Layout layout, std::ostream *os)
{
    *os << layoutName(layout) << " table";
}

inline const auto kBothLayouts = ::testing::Values(Layout::Full, Layout::Reduced);

class BothScales : public ::testing::TestWithParam<Layout>
{
protected:
    bool reduced() const { return GetParam() == Layout::Reduced; }
    const int *screen() const { return reduced() ? kSmallScreen : kFullScreen; }
};

inline std::string scaleName(const ::testing::TestParamInfo<Layout> &info)
{
    return layoutName(info.param);
}

} // namespace tessaroc::table::test
