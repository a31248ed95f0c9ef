#include "project/map_transform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "base/error.h"
#include "project/project.h"

namespace mireforge {
namespace {

// A map where every cell differs from its neighbours in terrain, description
// and domain, so a misplaced cell shows.
Project Scrambled(int width, int height) {
  Project project;
  project.Map.ResizeMap(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int code = (x * 7 + y * 3) % TerrainCount;
      project.Map.Cells[x + y * width] = static_cast<TerrainCode>(code);
      const bool typed = (x + y) % 3 == 0;
      project.Descriptions.AddDescription(code, typed ? "cell " + std::to_string(x) + "," + std::to_string(y)
                                                      : std::string(TerrainNames[code]),
                                          x, y, (x * 5 + y * 11) % 256);
    }
  project.Map.RebuildTerrainRows();
  project.Domains.Slots[3] = {0x00FF00, "North"};
  return project;
}

// Where the old cell (x, y) must be after the transform: the forward map,
// written independently of the code's backward one.
using Forward = std::function<std::pair<int, int>(int x, int y)>;

// Every old cell that survives is at its expected place with its terrain,
// description, domain and creation terrain; every other cell is new.
void ExpectMoved(const Project& before, const Project& after, int width, int height, const Forward& forward,
                 const std::function<bool(int x, int y)>& isNew) {
  ASSERT_EQ(after.Map.Width, width);
  ASSERT_EQ(after.Map.Height, height);
  ASSERT_EQ(after.Map.Cells.size(), static_cast<std::size_t>(width) * height);
  EXPECT_EQ(after.Map.TerrainRows, after.Map.Cells);
  ASSERT_EQ(after.Descriptions.Size(), after.Map.Cells.size());
  ASSERT_EQ(after.Descriptions.DescriptionNodes.size(), after.Map.Cells.size());
  int moved = 0;
  for (int y = 0; y < before.Map.Height; ++y)
    for (int x = 0; x < before.Map.Width; ++x) {
      const auto [nx, ny] = forward(x, y);
      if (!after.Map.Contains(nx, ny)) continue;
      ++moved;
      const TDescItem& was = *before.CellDescription(x, y);
      const TDescItem* now = after.CellDescription(nx, ny);
      ASSERT_NE(now, nullptr);
      ASSERT_EQ(after.Map.GetTerrain(nx, ny), before.Map.GetTerrain(x, y)) << x << "," << y;
      ASSERT_EQ(now->Text, was.Text) << x << "," << y;
      ASSERT_EQ(now->Domain, was.Domain) << x << "," << y;
      ASSERT_EQ(now->Terrain, was.Terrain) << x << "," << y;
      ASSERT_EQ(now->X, nx);
      ASSERT_EQ(now->Y, ny);
      ASSERT_EQ(now->Position(), "[" + std::to_string(nx) + "," + std::to_string(ny) + "]");
    }
  int fresh = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      if (!isNew(x, y)) continue;
      ++fresh;
      const TDescItem& item = *after.CellDescription(x, y);
      ASSERT_EQ(after.Map.GetTerrain(x, y), Plains) << x << "," << y;
      ASSERT_EQ(item.Text, "plains");
      ASSERT_EQ(item.Domain, 0);
      ASSERT_EQ(item.Position(), "[" + std::to_string(x) + "," + std::to_string(y) + "]");
    }
  EXPECT_EQ(moved + fresh, width * height);
  EXPECT_EQ(after.Domains.Slots[3].Name, "North");  // the domain table is not the map's to change
}

const auto NothingNew = [](int, int) { return false; };

class MapTransformSizes : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(MapTransformSizes, FlipsAndRotationsCarryEveryCell) {
  const auto [w, h] = GetParam();
  const Project original = Scrambled(w, h);
  struct Case {
    const char* name;
    MapTransform transform;
    int width, height;
    Forward forward;
  };
  const Case cases[] = {
      {"flip horizontally", MapTransform::Flip(true), w, h, [w = w](int x, int y) { return std::pair(w - 1 - x, y); }},
      {"flip vertically", MapTransform::Flip(false), w, h, [h = h](int x, int y) { return std::pair(x, h - 1 - y); }},
      // Clockwise: the top-left corner goes to the top-right, the top row to the right column.
      {"rotate 90", MapTransform::Turn(1), h, w, [h = h](int x, int y) { return std::pair(h - 1 - y, x); }},
      {"rotate 180", MapTransform::Turn(2), w, h,
       [w = w, h = h](int x, int y) { return std::pair(w - 1 - x, h - 1 - y); }},
      {"rotate 270", MapTransform::Turn(3), h, w, [w = w](int x, int y) { return std::pair(y, w - 1 - x); }},
      {"rotate -90", MapTransform::Turn(-1), h, w, [w = w](int x, int y) { return std::pair(y, w - 1 - x); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Project project = original;
    c.transform.Apply(project);
    ExpectMoved(original, project, c.width, c.height, c.forward, NothingNew);
    for (int y = 0; y < h; y += 17)
      for (int x = 0; x < w; x += 13) EXPECT_EQ(c.transform.CellAfter(x, y, w, h), c.forward(x, y));

    c.transform.Inverse().Apply(project);
    ExpectMoved(original, project, w, h, [](int x, int y) { return std::pair(x, y); }, NothingNew);
  }
}

TEST_P(MapTransformSizes, ResizeKeepsCellsAtTheirOffsetAndAddsPlains) {
  const auto [w, h] = GetParam();
  const Project original = Scrambled(w, h);
  struct Case {
    int width, height, dx, dy;
  };
  // Growing at the centre, cropping a box, shifting past every edge, and a
  // placement that leaves nothing of the old map.
  const Case cases[] = {{std::min(w + 9, 512), std::min(h + 4, 512), 4, 2},
                        {std::max(1, w / 2), std::max(1, h / 3), -5, -7},
                        {w, h, 3, -2},
                        {w, h, -w / 2, h / 2},
                        {20, 10, w, 0},
                        {1, 1, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " at " + std::to_string(c.dx) + "," +
                 std::to_string(c.dy));
    Project project = original;
    ResizeProject(project, c.width, c.height, c.dx, c.dy, false);
    const auto forward = [&](int x, int y) { return std::pair(x + c.dx, y + c.dy); };
    const auto isNew = [&](int x, int y) { return x < c.dx || y < c.dy || x >= c.dx + w || y >= c.dy + h; };
    ExpectMoved(original, project, c.width, c.height, forward, isNew);
  }
}

INSTANTIATE_TEST_SUITE_P(MapTransform, MapTransformSizes,
                         ::testing::Values(std::pair(66, 63), std::pair(512, 512), std::pair(1, 5)));

TEST(MapTransform, SmallMapReadsAsExpected) {
  // abc      clockwise:  da    counter-clockwise:  cf
  // def                  eb                        be
  //                      fc                        ad
  Project project;
  project.Map.ResizeMap(3, 2);
  for (int i = 0; i < 6; ++i) {
    project.Map.Cells[i] = static_cast<TerrainCode>(i + 1);
    project.Descriptions.AddDescription(i + 1, std::string(1, static_cast<char>('a' + i)), i % 3, i / 3, i);
  }
  const auto texts = [](const Project& p) {
    std::string s;
    for (const TDescItem& item : p.Descriptions.Entries) s += item.Text;
    return s;
  };
  Project turned = project;
  RotateProject(turned, 1);
  EXPECT_EQ(texts(turned), "daebfc");
  EXPECT_EQ(turned.Map.Cells, (std::vector<TerrainCode>{4, 1, 5, 2, 6, 3}));
  RotateProject(turned, -2);
  EXPECT_EQ(texts(turned), "cfbead");
  Project flipped = project;
  FlipHorizontally(flipped);
  EXPECT_EQ(texts(flipped), "cbafed");
  FlipVertically(flipped);
  EXPECT_EQ(texts(flipped), "fedcba");
  EXPECT_EQ(flipped.Descriptions.Entry(0).Domain, 5);
}

TEST(MapTransform, AnchorsPlaceTheOldMap) {
  EXPECT_EQ(AnchorOffset(Anchor::TopLeft, 66, 63, 80, 70), (MapOffset{0, 0}));
  EXPECT_EQ(AnchorOffset(Anchor::Top, 66, 63, 80, 70), (MapOffset{7, 0}));
  EXPECT_EQ(AnchorOffset(Anchor::Centre, 66, 63, 80, 70), (MapOffset{7, 3}));
  EXPECT_EQ(AnchorOffset(Anchor::BottomRight, 66, 63, 80, 70), (MapOffset{14, 7}));
  EXPECT_EQ(AnchorOffset(Anchor::Left, 66, 63, 80, 70), (MapOffset{0, 3}));
  // Shrinking: negative offsets, the odd cell cut on the right or bottom at the centre.
  EXPECT_EQ(AnchorOffset(Anchor::Centre, 66, 63, 63, 60), (MapOffset{-1, -1}));
  EXPECT_EQ(AnchorOffset(Anchor::Bottom, 66, 63, 63, 60), (MapOffset{-1, -3}));
  EXPECT_EQ(AnchorOffset(Anchor::TopRight, 66, 63, 63, 60), (MapOffset{-3, 0}));
}

TEST(MapTransform, RingRebuildGivesFrozenWastesAndTheirName) {
  Project project = Scrambled(10, 8);
  const Project original = project;
  ResizeProject(project, 14, 10, 2, 1, true);
  const MapGrid& map = project.Map;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 14; ++x) {
      const TDescItem& item = *project.CellDescription(x, y);
      if (map.OnBorder(x, y)) {
        EXPECT_EQ(map.GetTerrain(x, y), FrozenWastes) << x << "," << y;
        EXPECT_EQ(item.Text, "frozen wastes");
        EXPECT_EQ(item.Domain, 0);  // only new cells lie on the ring of the bigger map
      } else if (x >= 2 && y >= 1 && x < 12 && y < 9) {
        EXPECT_EQ(map.GetTerrain(x, y), original.Map.GetTerrain(x - 2, y - 1));  // the old ring stays inside
        EXPECT_EQ(item.Text, original.CellDescription(x - 2, y - 1)->Text);
      } else {
        EXPECT_EQ(map.GetTerrain(x, y), Plains);
      }
    }
  EXPECT_EQ(map.TerrainRows, map.Cells);

  // Cropping into the old interior: old cells become the ring and keep their
  // domain; one that already was frozen wastes keeps its typed description.
  project = original;
  project.Map.Cells[1 + 1 * 10] = FrozenWastes;
  project.Descriptions.Entry(1 + 1 * 10).Text = "my glacier";
  ResizeProject(project, 6, 4, -1, -1, true);
  EXPECT_EQ(project.CellDescription(0, 0)->Text, "my glacier");
  const TDescItem& moved = *project.CellDescription(2, 0);  // old (3, 1), repainted
  EXPECT_EQ(project.Map.GetTerrain(2, 0), FrozenWastes);
  EXPECT_EQ(moved.Text, "frozen wastes");
  EXPECT_EQ(moved.Domain, original.CellDescription(3, 1)->Domain);
  EXPECT_EQ(project.CellDescription(2, 1)->Text, original.CellDescription(3, 2)->Text);  // interior untouched
}

TEST(MapTransform, BadSizeIsRefusedAndChangesNothing) {
  Project project = Scrambled(6, 5);
  const Project original = project;
  for (auto [w, h] : {std::pair(0, 5), std::pair(5, 0), std::pair(513, 5), std::pair(5, -1)}) {
    EXPECT_THROW(ResizeProject(project, w, h, 0, 0, true), Error);
    EXPECT_EQ(project.Map.Cells, original.Map.Cells);
    EXPECT_EQ(project.Descriptions.Size(), original.Descriptions.Size());
  }
  // Offsets far outside the int range of a cell index still give a plains map.
  ResizeProject(project, 3, 3, 2147483000, -2147483000, false);
  EXPECT_EQ(project.Map.Cells, std::vector<TerrainCode>(9, Plains));
}

TEST(MapTransform, MapWithoutDescriptionsStaysWithout) {
  Project project;
  project.Map.ResizeMap(4, 3);
  project.Map.Cells[0] = Forest;
  RotateProject(project, 1);
  EXPECT_TRUE(project.Descriptions.Empty());
  EXPECT_EQ(project.Map.Width, 3);
  EXPECT_EQ(project.Map.GetTerrain(2, 0), Forest);
  ResizeProject(project, 5, 5, 1, 1, false);
  EXPECT_TRUE(project.Descriptions.Empty());
  EXPECT_EQ(project.Map.GetTerrain(3, 1), Forest);
}

}  // namespace
}  // namespace mireforge
