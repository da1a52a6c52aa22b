#include "effects/effect_table.h"

#include <gtest/gtest.h>

#include <array>
#include <string_view>

namespace {

using effects::EffectTable;

// The names as the picture show lists them, one per style number.
constexpr std::array<std::string_view, 176> kExpectedNames = {
    /*   1 */ "Expand from right",
    /*   2 */ "Expand from left",
    /*   3 */ "Slide in from right",
    /*   4 */ "Slide in from left",
    /*   5 */ "Reveal from left",
    /*   6 */ "Reveal from right",
    /*   7 */ "Expand in from right",
    /*   8 */ "Expand in from left",
    /*   9 */ "Expand in to middle",
    /*  10 */ "Expand out from middle",
    /*  11 */ "Reveal out from middle",
    /*  12 */ "Reveal in from sides",
    /*  13 */ "Expand in from sides",
    /*  14 */ "Unroll from left",
    /*  15 */ "Unroll from right",
    /*  16 */ "Build up from right",
    /*  17 */ "Build up from left",
    /*  18 */ "Expand from bottom",
    /*  19 */ "Expand from top",
    /*  20 */ "Slide in from bottom",
    /*  21 */ "Slide in from top",
    /*  22 */ "Reveal from top",
    /*  23 */ "Reveal from bottom",
    /*  24 */ "Expand in from bottom",
    /*  25 */ "Expand in from top",
    /*  26 */ "Expand in to middle (horizontal)",
    /*  27 */ "Expand out from middle (horizontal)",
    /*  28 */ "Reveal from middle (horizontal)",
    /*  29 */ "Slide in from top and bottom",
    /*  30 */ "Expand in from top and bottom",
    /*  31 */ "Unroll from top",
    /*  32 */ "Unroll from bottom",
    /*  33 */ "Expand from bottom",
    /*  34 */ "Expand in from top",
    /*  35 */ "Expand from bottom right",
    /*  36 */ "Expand from top right",
    /*  37 */ "Expand from top left",
    /*  38 */ "Expand from bottom left",
    /*  39 */ "Slide in from bottom right",
    /*  40 */ "Slide in from top right",
    /*  41 */ "Slide in from top left",
    /*  42 */ "Slide in from bottom left",
    /*  43 */ "Reveal from top left",
    /*  44 */ "Reveal from bottom left",
    /*  45 */ "Reveal from bottom right",
    /*  46 */ "Reveal from top right",
    /*  47 */ "Appear and Contract to top left",
    /*  48 */ "Appear and Contract to bottom left",
    /*  49 */ "Appear and Contract to bottom right",
    /*  50 */ "Appear and Contract to top right",
    /*  51 */ "Appear and Contract to middle",
    /*  52 */ "Expand out from centre",
    /*  53 */ "Reveal out from centre",
    /*  54 */ "Reveal in to centre",
    /*  55 */ "Quarters Reveal in to middle",
    /*  56 */ "Quarters Expand to middle",
    /*  57 */ "Quarters Slide in to middle",
    /*  58 */ "Curved Reveal from left",
    /*  59 */ "Curved Reveal from right",
    /*  60 */ "Bars in from right",
    /*  61 */ "Bars in from left",
    /*  62 */ "Bars left then right",
    /*  63 */ "Bars right then left",
    /*  64 */ "Bars from both sides",
    /*  65 */ "Uneven shred from right",
    /*  66 */ "Uneven shred from left",
    /*  67 */ "Uneven shred out from middle (horizontal)",
    /*  68 */ "Uneven shred in to middle (horizontal)",
    /*  69 */ "Curved Reveal from top",
    /*  70 */ "Curved Reveal from bottom",
    /*  71 */ "Bars from bottom",
    /*  72 */ "Bars from top",
    /*  73 */ "Bars top then bottom",
    /*  74 */ "Bars bottom then top",
    /*  75 */ "Bars from top and bottom",
    /*  76 */ "Unven shred from bottom",
    /*  77 */ "Uneven shred from top",
    /*  78 */ "Uneven shred from horizon",
    /*  79 */ "Uneven shred in to horizon",
    /*  80 */ "Curved reveal from top left",
    /*  81 */ "Curved reveal from top right",
    /*  82 */ "Curved reveal from bottom left",
    /*  83 */ "Curved reveal from bottom right",
    /*  84 */ "Elliptic reveal out from centre",
    /*  85 */ "Elliptic reveal in to centre",
    /*  86 */ "Criss Cross reveal from bottom right",
    /*  87 */ "Criss Cross reveal from top right",
    /*  88 */ "Criss Cross reveal from bottom left",
    /*  89 */ "Criss Cross reveal from top left",
    /*  90 */ "Criss Cross reveal bounce from top left",
    /*  91 */ "Criss Cross reveal bounce from bottom left",
    /*  92 */ "Criss Cross reveal bounce from top right",
    /*  93 */ "Criss Cross reveal bounce from bottom right",
    /*  94 */ "Criss Cross reveal from right top and bottom",
    /*  95 */ "Criss Cross reveal from left top and bottom",
    /*  96 */ "Criss Cross reveal from left right and bottom",
    /*  97 */ "Criss Cross reveal from left right and top",
    /*  98 */ "Criss Cross reveal from top left right and bottom",
    /*  99 */ "Criss Cross reveal from bottom left top right",
    /* 100 */ "Uneven shred from bottom and right",
    /* 101 */ "Uneven shred from top and right",
    /* 102 */ "Uneven shred from bottom and left",
    /* 103 */ "Uneven shred from top and left",
    /* 104 */ "Uneven shred from horizon and right",
    /* 105 */ "Uneven shred from horizon and left",
    /* 106 */ "Uneven shred from bottom and vert middle",
    /* 107 */ "Uneven shred from top and vert middle",
    /* 108 */ "Uneven shred from centre",
    /* 109 */ "Uneven shred to centre",
    /* 110 */ "Reveal diagonal from top left",
    /* 111 */ "Reveal diagonal from top right",
    /* 112 */ "Reveal diagonal from bottom left",
    /* 113 */ "Reveal diagonal from bottom right",
    /* 114 */ "Diagonal sweep from top left bottom right anticlockwise",
    /* 115 */ "Diagonal sweep from top left bottom right clockwise",
    /* 116 */ "Starburst clockwise from center",
    /* 117 */ "Starburst anticlockwise from center",
    /* 118 */ "Triangular shred",
    /* 119 */ "Fade",
    /* 120 */ "Pivot from top left",
    /* 121 */ "Pivot from bottom left",
    /* 122 */ "Pivot from top right",
    /* 123 */ "Pivot from bottom right",
    /* 124 */ "Speckle appear from right",
    /* 125 */ "Speckle appear from left",
    /* 126 */ "Speckle appear from bottom",
    /* 127 */ "Speckle appear from top",
    /* 128 */ "Random squares appear",
    /* 129 */ "Push right",
    /* 130 */ "Push left",
    /* 131 */ "Push and squeeze right",
    /* 132 */ "Push and squeeze left",
    /* 133 */ "Push down",
    /* 134 */ "Push up",
    /* 135 */ "Push and sqeeze down",
    /* 136 */ "Push and sqeeze up",
    /* 137 */ "Blind vertically",
    /* 138 */ "Blind horizontally",
    /* 139 */ "Uneven blind from left",
    /* 140 */ "Uneven blind from right",
    /* 141 */ "Uneven blind from top",
    /* 142 */ "Uneven blind from bottom",
    /* 143 */ "Rectangular shred",
    /* 144 */ "Sweep clockwise",
    /* 145 */ "Sweep anticlockwise",
    /* 146 */ "Rectangles apear from left and disapear to right",
    /* 147 */ "Rectangles apear from right and disapear to left",
    /* 148 */ "Rectangles apear from up and disapear to bottom",
    /* 149 */ "Rectangles apear from bottom and disapear to up",
    /* 150 */ "Rotational rectangle in center",
    /* 151 */ "Rotational star in center",
    /* 152 */ "Spiral rectangle",
    /* 153 */ "Circular shred",
    /* 154 */ "Reveal V from left",
    /* 155 */ "Reveal V from right",
    /* 156 */ "Reveal V from top",
    /* 157 */ "Reveal V from bottom",
    /* 158 */ "Bow Tie Horizontal",
    /* 159 */ "Bow Tie Vertical",
    /* 160 */ "Diagonal Cross In",
    /* 161 */ "Diagonal Cross Out",
    /* 162 */ "Zigzag Horizontal",
    /* 163 */ "Zigzag Vertical",
    /* 164 */ "Diamond shred",
    /* 165 */ "Reveal diamond out from centre",
    /* 166 */ "Reveal diamond in to centre",
    /* 167 */ "Diagonal Box Out",
    /* 168 */ "Pixelate",
    /* 169 */ "Dissolve",
    /* 170 */ "Random Bars Horizontal",
    /* 171 */ "Random Bars Vertical",
    /* 172 */ "Channel Mix",
    /* 173 */ "Slide out from right",
    /* 174 */ "Slide out from left",
    /* 175 */ "Slide out from bottom",
    /* 176 */ "Slide out from top",
};

TEST(EffectTable, HasTheHundredAndSeventySixNamesInStyleOrder) {
  ASSERT_EQ(EffectTable.size(), kExpectedNames.size());
  for (std::size_t i = 0; i < kExpectedNames.size(); ++i) {
    EXPECT_EQ(EffectTable[i].Name, kExpectedNames[i]) << "style " << i + 1;
  }
}

TEST(EffectTable, GivesEveryRowAProcedureOfItsOwn) {
  for (std::size_t i = 0; i < EffectTable.size(); ++i) {
    EXPECT_NE(EffectTable[i].Proc, nullptr) << "style " << i + 1;
  }
  // Rows 33 and 34 share their names with 18 and 25, not their drawing.
  EXPECT_NE(EffectTable[33 - 1].Proc, EffectTable[18 - 1].Proc);
  EXPECT_NE(EffectTable[34 - 1].Proc, EffectTable[25 - 1].Proc);
}

TEST(EffectTable, KeepsTheNamesRowsShareAndTheMisspellings) {
  EXPECT_EQ(EffectTable[33 - 1].Name, EffectTable[18 - 1].Name);
  EXPECT_EQ(EffectTable[34 - 1].Name, EffectTable[25 - 1].Name);
  EXPECT_EQ(EffectTable[76 - 1].Name, "Unven shred from bottom");
  EXPECT_EQ(EffectTable[135 - 1].Name, "Push and sqeeze down");
  EXPECT_EQ(EffectTable[136 - 1].Name, "Push and sqeeze up");
  EXPECT_EQ(EffectTable[131 - 1].Name, "Push and squeeze right");
  EXPECT_EQ(EffectTable[146 - 1].Name, "Rectangles apear from left and disapear to right");
}

TEST(EffectTable, FindsAStyleByItsFirstName) {
  EXPECT_EQ(effects::FindEffectStyle("Expand from bottom"), 18);  // never 33
  EXPECT_EQ(effects::FindEffectStyle("EXPAND IN FROM TOP"), 25);  // never 34
  EXPECT_EQ(effects::FindEffectStyle("slide out from top"), 176);
  EXPECT_EQ(effects::FindEffectStyle("Custom"), std::nullopt);  // style 0 has no row
  EXPECT_EQ(effects::FindEffectStyle("Expand from"), std::nullopt);
}

TEST(EffectTable, GivesRowsOnlyForStylesOneToHundredSeventySix) {
  EXPECT_EQ(effects::EffectRow(0), nullptr);
  EXPECT_EQ(effects::EffectRow(177), nullptr);
  EXPECT_EQ(effects::EffectRow(-1), nullptr);
  ASSERT_NE(effects::EffectRow(1), nullptr);
  EXPECT_EQ(effects::EffectRow(1)->Name, "Expand from right");
  EXPECT_EQ(effects::EffectRow(176), &EffectTable.back());
}

}  // namespace
