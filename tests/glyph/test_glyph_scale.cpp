// The glyph cell chosen for a screen's DPI: the largest whole multiple of the
// 16- or 24-pixel glyphs that is not bigger than the scale asks.
#include <gtest/gtest.h>

#include "glyph/glyph_scale.h"

namespace {

struct ScaleCase {
    int dpi;
    int source;
    int factor;
    bool largeGlyphs = true;
};

const ScaleCase kScaleCases[] = {
    {96, 16, 1},    // 100 %: the 16-pixel font as it is
    {120, 16, 1},   // 125 %: 20 pixels asked, 24 would be bigger
    {144, 24, 1},   // 150 %: the 24-pixel glyphs
    {168, 24, 1},   // 175 %: 28 asked, 32 would be bigger
    {192, 16, 2},   // 200 %: the 16-pixel glyphs doubled
    {288, 24, 2},   // 300 %: 48, from the finer 24-pixel glyphs
    {240, 16, 2},   // 250 %: 40 asked; 48 would be bigger
    {72, 16, 1},    // below 96 the glyphs never shrink
    {0, 16, 1},     // a DC that answers nothing
    {100000, 24, 8},  // a nonsense DPI is capped
    // Only the 16-pixel font (the uninstaller, or no 24-pixel glyphs):
    {144, 16, 1, false},
    {168, 16, 1, false},
    {192, 16, 2, false},
    {288, 16, 3, false},
};

TEST(GlyphScaleForDpi, ChoosesTheLargestCellNotBiggerThanTheScale) {
    for (const ScaleCase& c : kScaleCases) {
        GlyphScale scale = GlyphScaleForDpi(c.dpi, c.largeGlyphs);
        EXPECT_EQ(scale.source, c.source) << c.dpi << " DPI, large glyphs " << c.largeGlyphs;
        EXPECT_EQ(scale.factor, c.factor) << c.dpi << " DPI, large glyphs " << c.largeGlyphs;
    }
}

}  // namespace
