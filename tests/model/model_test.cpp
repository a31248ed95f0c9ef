#include <gtest/gtest.h>

#include "model/descriptions.h"
#include "model/domains.h"
#include "model/map_grid.h"
#include "model/random_source.h"
#include "model/terrain.h"
#include "support/test_maps.h"

namespace mireforge {
namespace {

TEST(TerrainTables, PickNamesDifferOnlyInMountainAndNone) {
  for (int code = 0; code < TerrainCount; ++code) {
    if (code == Mountains || code == NoTerrain) continue;
    EXPECT_EQ(TerrainNames[code], TerrainPickNames[code]) << code;
  }
  EXPECT_EQ(TerrainNames[Mountains], "mountains");
  EXPECT_EQ(TerrainPickNames[Mountains], "mountain");
  EXPECT_EQ(TerrainNames[NoTerrain], "none");
  EXPECT_EQ(TerrainPickNames[NoTerrain], "(none)");
}

TEST(MapGrid, ResizeKeepsLinearBytesAndFillsTailWithPlains) {
  MapGrid grid;
  grid.ResizeMap(66, 63);
  for (std::size_t i = 0; i < grid.Cells.size(); ++i) grid.Cells[i] = static_cast<TerrainCode>(i % 15 + 1);
  const auto before = grid.Cells;
  grid.ResizeMap(63, 66);  // same cell count: sheared, not re-laid out
  EXPECT_EQ(grid.Cells, before);
  grid.ResizeMap(70, 70);
  ASSERT_EQ(grid.Cells.size(), 4900u);
  EXPECT_TRUE(std::equal(before.begin(), before.end(), grid.Cells.begin()));
  for (std::size_t i = before.size(); i < grid.Cells.size(); ++i) ASSERT_EQ(grid.Cells[i], Plains);
  grid.ResizeMap(0, 0);
  EXPECT_TRUE(grid.Empty());
  EXPECT_TRUE(grid.Cells.empty());
}

TEST(MapGrid, FillTerrainRespectsTheBorderRing) {
  MapGrid grid;
  grid.FillTerrain(Forest, true);  // empty map: nothing to write
  EXPECT_TRUE(grid.Cells.empty());

  for (int size : {1, 2}) {
    grid.ResizeMap(size, 5);
    grid.FillTerrain(FrozenWastes, true);
    grid.FillTerrain(Forest, false);
    for (TerrainCode c : grid.Cells) EXPECT_EQ(c, FrozenWastes) << "width " << size;
  }

  grid.ResizeMap(5, 4);
  grid.FillTerrain(FrozenWastes, true);
  grid.FillTerrain(Lake, false);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(grid.GetTerrain(x, y), grid.OnBorder(x, y) ? FrozenWastes : Lake);
}

TEST(MapGrid, SetTerrainMasksUpdatesRowsAndResetsTheDescriptionButNotTheDomain) {
  MapGrid grid;
  grid.ResizeMap(4, 3);
  grid.RebuildTerrainRows();
  DescriptionList list;
  BuildDefaultDescriptions(list, grid);
  TDescItem* item = list.CellDescription(2, 1, grid.Width);
  ASSERT_NE(item, nullptr);
  item->Text = "Tower of Doom";
  item->Domain = 7;

  grid.SetTerrain(2, 1, 0x10 | Mountains, list);
  EXPECT_EQ(grid.Cells[2 + 1 * 4], Mountains);
  EXPECT_EQ(grid.TerrainRow(1)[2], Mountains);
  EXPECT_EQ(item->Text, "mountains");
  EXPECT_EQ(item->Domain, 7);
  EXPECT_EQ(item->Terrain, Plains);  // the creation-time code is not refreshed
}

TEST(MapGrid, GetTerrainMasksTheHighBits) {
  MapGrid grid;
  grid.ResizeMap(2, 1);
  grid.Cells[1] = 0xF9;
  EXPECT_EQ(grid.GetTerrain(1, 0), Lake);
}

TEST(MapGrid, RebuildTerrainRowsCopiesRowByRow) {
  MapGrid grid;
  grid.ResizeMap(3, 2);
  grid.Cells = {1, 2, 3, 4, 5, 6};
  grid.RebuildTerrainRows();
  EXPECT_EQ(grid.TerrainRow(1)[0], 4);
  EXPECT_EQ(grid.TerrainRow(0)[2], 3);
}

TEST(Descriptions, DefaultDescriptionsFollowTheTerrainInIndexOrder) {
  const MapGrid grid = FramedMap(66, 63, Mountains);
  DescriptionList list;
  BuildDefaultDescriptions(list, grid);
  ASSERT_EQ(list.Size(), 66u * 63u);
  ASSERT_EQ(list.DescriptionNodes.size(), list.Size());
  const TDescItem& corner = *list.CellDescription(0, 62, 66);
  EXPECT_EQ(corner.Text, "frozen wastes");
  EXPECT_EQ(corner.Position(), "[0,62]");
  const TDescItem& inner = *list.CellDescription(5, 12, 66);
  EXPECT_EQ(inner.Text, "mountains");
  EXPECT_EQ(inner.X, 5);
  EXPECT_EQ(inner.Y, 12);
  EXPECT_EQ(inner.Domain, 0);
  EXPECT_EQ(inner.Terrain, Mountains);
}

TEST(Descriptions, PositionTextFollowsSwapXY) {
  TDescItem item(0, "plains", 0, 62, 0);
  EXPECT_EQ(item.PositionText(), "[0,62]");
  item.SwapXY = true;
  EXPECT_EQ(item.PositionText(), "[62,0]");
  EXPECT_EQ(item.Position(), "[0,62]");  // column first whatever SwapXY says
}

TEST(Descriptions, CellDescriptionRefusesCellsOutsideTheIndex) {
  DescriptionList list;
  EXPECT_EQ(list.CellDescription(0, 0, 66), nullptr);
  MapGrid grid;
  grid.ResizeMap(3, 2);
  BuildDefaultDescriptions(list, grid);
  EXPECT_NE(list.CellDescription(2, 1, 3), nullptr);
  EXPECT_EQ(list.CellDescription(0, 2, 3), nullptr);
  EXPECT_EQ(list.CellDescription(-1, 0, 3), nullptr);
  EXPECT_EQ(list.CellDescription(3, 0, 3), nullptr);
  // A view still holding the old, larger size asks about a cell that is gone.
  EXPECT_EQ(list.CellDescription(10, 10, 66), nullptr);
}

// Texts cut from a shared text keep it alive, texts from elsewhere are copied,
// and every copy, move and assignment leaves each holder its own text.
TEST(Descriptions, SharedTextsLiveAsLongAsTheirHolders) {
  DescText part, copied;
  std::weak_ptr<const std::string> watch;
  {
    auto file = std::make_shared<const std::string>("1,0=north\r\n2,0=south\r\n");
    watch = file;
    const std::string_view chars = *file;
    const DescText whole = DescText::Sharing(std::move(file), chars);
    part = whole.Part(whole.View().substr(4, 5));
    const std::string elsewhere = "south";
    copied = whole.Part(elsewhere);
    EXPECT_EQ(part.data(), whole.data() + 4);  // shared, not copied
    EXPECT_NE(copied.data(), elsewhere.data());
    EXPECT_EQ(whole.Part("").data(), DescText().data());
  }
  EXPECT_FALSE(watch.expired());
  EXPECT_EQ(part, "north");
  EXPECT_EQ(copied, std::string("south"));

  DescText a = part, b = std::move(copied), c;
  EXPECT_TRUE(copied.empty());
  c = a;
  c = c;
  a = std::move(b);
  b = DefaultDescription(Forest);
  EXPECT_EQ(a, "south");
  EXPECT_EQ(b, TerrainNames[Forest]);
  EXPECT_EQ(c, part);
  EXPECT_EQ(DefaultDescription(Forest + 16).data(), DefaultDescription(Forest).data());
  part = c = DescText();
  EXPECT_TRUE(watch.expired());
}

TEST(Domains, LabelsDefinitionAndReset) {
  DomainTable table;
  EXPECT_EQ(table.Slots[0].Color, 1);
  EXPECT_EQ(table.Slots[1].Color, 0);
  EXPECT_EQ(table.DomainLabel(0), "[0] ");
  table.Slots[12].Name = "Ushgarak";
  EXPECT_EQ(table.DomainLabel(12), "[12] Ushgarak");
  EXPECT_TRUE(table.Defined(12));
  table.Slots[13].Color = 0xFF;
  EXPECT_FALSE(table.Defined(13));  // a colour alone does not define a domain
  EXPECT_FALSE(table.Defined(300));
  EXPECT_EQ(table.Color(-1), NoColor);
  EXPECT_EQ(table.Name(256), "");
  EXPECT_EQ(table.DomainLabel(999), "[999] ");
  table.ResetDomains();
  for (const DomainSlot& slot : table.Slots) {
    EXPECT_EQ(slot.Color, NoColor);
    EXPECT_TRUE(slot.Name.empty());
  }
  EXPECT_EQ(NoColor, 536870911);
}

TEST(RandomSource, StepsAndDrawsBitExactly) {
  RandomSource random;
  random.RandomSeed = 0;
  EXPECT_EQ(random.RandomInt(100), 0u);
  EXPECT_EQ(random.RandomSeed, 1);
  EXPECT_EQ(random.RandomInt(100), 3u);
  EXPECT_EQ(random.RandomSeed, 134775814);
  EXPECT_EQ(random.RandomInt(0), 0u);

  random.RandomSeed = -1;  // 0xFFFFFFFF * 134775813 + 1 wraps
  random.RandomInt(1);
  EXPECT_EQ(static_cast<std::uint32_t>(random.RandomSeed), 0xFFFFFFFFu * 134775813u + 1u);

  random.RandomSeed = 0;
  EXPECT_EQ(random.RandomFloat(), 1.0L / 4294967296.0L);
  EXPECT_EQ(random.RandomSeed, 1);
}

TEST(RandomSource, SeedsFromTheUtcTimeOfDay) {
  EXPECT_EQ(MillisecondsOfDay(13, 5, 7, 250), 47107250);
  RandomSource random([] { return MillisecondsOfDay(13, 5, 7, 250); });
  random.SeedFromClock();
  EXPECT_EQ(random.RandomSeed, 47107250);
  const std::int32_t now = UtcMillisecondsOfDay();
  EXPECT_GE(now, 0);
  EXPECT_LT(now, 86'400'000);
}

}  // namespace
}  // namespace mireforge
