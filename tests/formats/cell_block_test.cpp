// The copied block of cells: what it takes from the map, how it turns, and
// its two clipboard forms.
#include <gtest/gtest.h>

#include "formats/cell_block.h"
#include "model/descriptions.h"
#include "base/error.h"
#include "model/map_grid.h"

namespace mireforge {
namespace {

// A 3 x 2 block: letters C F H / T V D, domains 0..5, texts "c0".."c5".
CellBlock Sample() {
  CellBlock block;
  block.Width = 3;
  block.Height = 2;
  const TerrainCode codes[] = {Citadel, Forest, Henge, Tower, Village, Downs};
  for (int i = 0; i < 6; ++i) block.Cells.push_back({true, codes[i], i, "c" + std::to_string(i)});
  return block;
}

std::string Texts(const CellBlock& block) {
  std::string out;
  for (const BlockCell& cell : block.Cells) out += cell.present ? cell.text.View().substr(1) : "-";
  return out;
}

TEST(CellBlock, CopyTakesTheSelectionWithinItsBounds) {
  MapGrid map;
  map.ResizeMap(6, 5);
  for (std::size_t i = 0; i < map.Cells.size(); ++i) map.Cells[i] = static_cast<TerrainCode>(i % 16);
  DescriptionList descriptions;
  BuildDefaultDescriptions(descriptions, map);
  descriptions.Entry(8).Text = "Ushgarak";
  descriptions.Entry(8).Domain = 9;
  CellSelection selection;
  selection.Reset(6, 5);
  selection.Apply({8, 9, 15}, SelectionMode::Replace);  // (2,1) (3,1) (3,2)
  DomainTable domains;
  domains.Slots[9] = {0x00FF00, "Ushgarak"};
  domains.Slots[4] = {0x0000FF, "not among the copied cells"};
  const CellBlock block = CellBlock::Copy(map, descriptions, domains, selection);
  ASSERT_EQ(block.Width, 2);
  ASSERT_EQ(block.Height, 2);
  EXPECT_EQ(block.Present(), 3u);
  EXPECT_FALSE(block.At(0, 1).present);
  EXPECT_EQ(block.At(0, 0).text, "Ushgarak");
  EXPECT_EQ(block.At(0, 0).domain, 9);
  EXPECT_EQ(block.At(0, 0).terrain, 8);
  EXPECT_EQ(block.At(1, 1).terrain, 15);
  EXPECT_EQ(block.At(1, 1).text, "none");
  EXPECT_EQ(block.TerrainText(), "SE\n.X\n");
  // The named domains of the copied cells travel with them; domain 0 has no name here.
  EXPECT_EQ(block.Domains, (std::vector<BlockDomain>{{9, {0x00FF00, "Ushgarak"}}}));
  EXPECT_EQ(CellBlock::Parse(block.Serialize()).Domains, block.Domains);

  selection.Clear();
  EXPECT_TRUE(CellBlock::Copy(map, descriptions, domains, selection).Empty());
}

TEST(CellBlock, FlipsAndQuarterTurns) {
  CellBlock block = Sample();
  block.FlipHorizontally();
  EXPECT_EQ(Texts(block), "210543");
  block.FlipHorizontally();
  block.FlipVertically();
  EXPECT_EQ(Texts(block), "345012");
  block = Sample();
  block.RotateClockwise();  // 0 1 2 / 3 4 5 -> 3 0 / 4 1 / 5 2
  EXPECT_EQ(block.Width, 2);
  EXPECT_EQ(block.Height, 3);
  EXPECT_EQ(Texts(block), "304152");
  block.RotateAnticlockwise();
  EXPECT_EQ(Texts(block), "012345");
  block.RotateAnticlockwise();  // -> 2 5 / 1 4 / 0 3
  EXPECT_EQ(Texts(block), "251403");
  for (int i = 0; i < 3; ++i) block.RotateAnticlockwise();
  EXPECT_EQ(Texts(block), "012345");
}

TEST(CellBlock, OwnFormatRoundTripsAndRefusesAnythingElse) {
  CellBlock block = Sample();
  block.Cells[4].present = false;
  block.Cells[5].text = "  two  blanks, commas; and \"quotes\" ";
  const CellBlock back = CellBlock::Parse(block.Serialize());
  ASSERT_EQ(back.Width, 3);
  ASSERT_EQ(back.Height, 2);
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(back.Cells[i].present, block.Cells[i].present) << i;
    if (!block.Cells[i].present) continue;
    EXPECT_EQ(back.Cells[i].terrain, block.Cells[i].terrain) << i;
    EXPECT_EQ(back.Cells[i].domain, block.Cells[i].domain) << i;
    EXPECT_EQ(back.Cells[i].text, block.Cells[i].text) << i;
  }
  const std::string good = block.Serialize();
  for (const std::string& bad :
       {std::string(), std::string("Mireforge cells 2\n1 1\n0 0 x\n"), std::string("Mireforge cells 1\n0 1\n"),
        std::string("Mireforge cells 1\n513 1\n"), std::string("Mireforge cells 1\n1 1\n16 0 x\n"),
        std::string("Mireforge cells 1\n1 1\n1 256 x\n"), std::string("Mireforge cells 1\n2 1\n1 0 x\n"),
        std::string("Mireforge cells 1\n1 1\n1 0\n"), good.substr(0, good.find("\n-\n") + 1),
        std::string("Mireforge cells 1\n1 1\n1 0 x\ndomain 256 0 x\n"),
        std::string("Mireforge cells 1\n1 1\n1 0 x\ndomain 3 0\n"), std::string("Mireforge cells 1\n1 1\n1 0 x\nmore\n")}) {
    EXPECT_THROW(CellBlock::Parse(bad), Error) << bad;
  }
}

TEST(CellBlock, TerrainLettersFromAnyTextEditor) {
  const CellBlock block = CellBlock::FromTerrainText("MM.F\r\nv\n\n");
  ASSERT_EQ(block.Width, 4);
  ASSERT_EQ(block.Height, 2);
  EXPECT_TRUE(block.TerrainOnly);
  EXPECT_EQ(block.At(0, 0).terrain, Mountains);
  EXPECT_EQ(block.At(0, 0).text, "mountains");
  EXPECT_FALSE(block.At(2, 0).present);
  EXPECT_EQ(block.At(0, 1).terrain, Village);  // lower case reads as upper
  EXPECT_TRUE(block.At(3, 1).present);          // beyond the end of a short row: plains
  EXPECT_EQ(block.TerrainText(), "MM.F\nV   \n");
  EXPECT_EQ(CellBlock::FromTerrainText("  \n   ").TerrainText(), "   \n   \n");  // plains only
  EXPECT_THROW(CellBlock::FromTerrainText("Hello"), Error);  // 'o' is no terrain letter
  EXPECT_THROW(CellBlock::FromTerrainText(""), Error);
  EXPECT_THROW(CellBlock::FromTerrainText("..\n.."), Error);  // no cell at all
}

}  // namespace
}  // namespace mireforge
