#include "scene/scene_view.h"

#include <gtest/gtest.h>

#include "model/descriptions.h"
#include "project/project.h"

namespace mireforge {
namespace {

// A map whose cell (x, y) holds (x + 3 * y) mod 16, with default descriptions.
Project NumberedProject(int width, int height) {
  Project project;
  project.Map.ResizeMap(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) project.Map.Cells[x + y * width] = static_cast<TerrainCode>((x + 3 * y) % 16);
  project.Map.RebuildTerrainRows();
  BuildDefaultDescriptions(project.Descriptions, project.Map);
  return project;
}

TEST(SceneTable, StraightAheadRowRotatesOntoEveryDirectionStep) {
  // Row 47 is the cell ahead facing north, row 95 facing northeast.
  for (int direction = 0; direction < 8; ++direction) {
    const SceneRow& ahead = SceneTable[FirstSceneRow(direction) + SceneRowsPerView - 1];
    const CellOffset step = RotateOffset({ahead.Dx, ahead.Dy}, direction / 2);
    EXPECT_EQ(step.Dx, DirectionTable[direction].Dx) << DirectionTable[direction].Name;
    EXPECT_EQ(step.Dy, DirectionTable[direction].Dy) << DirectionTable[direction].Name;
  }
  EXPECT_EQ(RotateOffset({2, -5}, 4).Dx, 2);
  EXPECT_EQ(RotateOffset({2, -5}, 1).Dx, 5);
  EXPECT_EQ(RotateOffset({2, -5}, 1).Dy, 2);
}

TEST(SceneTable, SpriteWidthsCentreMirroredRowsAboutTheMiddle) {
  // Facing north, the scene is symmetric: a row and its mirror (-dx) stand at
  // equal distances either side of x = 256 when the widths are right.
  int pairs = 0;
  for (int i = 0; i < SceneRowsPerView; ++i)
    for (int j = 0; j < SceneRowsPerView; ++j) {
      const SceneRow &a = SceneTable[i], &b = SceneTable[j];
      if (a.Dx <= 0 || b.Dx != -a.Dx || b.Dy != a.Dy) continue;
      ASSERT_EQ(a.Size, b.Size) << i << " " << j;
      EXPECT_EQ(a.X + b.X - 2 * SpriteOffsetX + SpriteWidths[a.Size], SceneWidth) << "rows " << i << ", " << j;
      ++pairs;
    }
  EXPECT_EQ(pairs, 21);
  // The nearest picture reaches the bottom; the farthest stand on the horizon.
  EXPECT_EQ(SceneTable[47].Y + SpriteHeight(19), SceneHeight);
  EXPECT_NEAR(SceneTable[0].Y + SpriteHeight(0), GroundTop, 4);
}

TEST(SceneSprites, CellsInsideShowTheirTerrainAndCellsBeyondShowFrozenWastes) {
  const Project project = NumberedProject(20, 20);
  struct Case {
    int X, Y, Direction;
  };
  for (const Case c : {Case{10, 10, 0}, Case{10, 10, 3}, Case{2, 0, 0}, Case{0, 5, 5}, Case{19, 19, 6}, Case{1, 18, 7}}) {
    ViewState view;
    view.MoveTo(c.X, c.Y);
    view.ViewDirection = c.Direction;
    const auto sprites = SceneSprites(view, project.Map);
    for (int i = 0; i < SceneRowsPerView; ++i) {
      const SceneRow& row = SceneTable[FirstSceneRow(c.Direction) + i];
      const CellOffset offset = RotateOffset({row.Dx, row.Dy}, c.Direction / 2);
      const int x = c.X + offset.Dx, y = c.Y + offset.Dy;
      const int expected = project.Map.Contains(x, y) ? (x + 3 * y) % 16 : FrozenWastes;
      EXPECT_EQ(sprites[i].Code, expected) << "row " << i << " direction " << c.Direction;
      EXPECT_EQ(sprites[i].Size, row.Size);
      EXPECT_EQ(sprites[i].Left, row.X - 56);
      EXPECT_EQ(sprites[i].Top, row.Y);
    }
  }
}

TEST(SceneSprites, NamesAndTheCellAheadForEachFacing) {
  EXPECT_EQ(SpriteName(14, 19), "14_19");
  EXPECT_EQ(SpriteName(0, 0), "0_0");
  Project project = NumberedProject(8, 6);
  ViewState view;
  view.MoveTo(2, 3);
  // South at start: the nearest picture is the cell below, east of it the next column.
  auto sprites = SceneSprites(view, project.Map);
  EXPECT_EQ(sprites[47].Code, project.Map.GetTerrain(2, 4));
  EXPECT_EQ(sprites[47].Size, 19);
  view.ViewDirection = 2;
  EXPECT_EQ(SceneSprites(view, project.Map)[47].Code, project.Map.GetTerrain(3, 3));
  view.ViewDirection = 5;
  EXPECT_EQ(SceneSprites(view, project.Map)[47].Code, project.Map.GetTerrain(1, 4));
  // The view reads the row copy, which SetTerrain keeps in step.
  project.SetTerrain(1, 4, Mountains);
  EXPECT_EQ(SceneSprites(view, project.Map)[47].Code, Mountains);
}

TEST(SceneText, LocationAndLookingLines) {
  Project project = NumberedProject(8, 6);
  project.CellDescription(2, 3)->Text = "The Tower of Doom";
  project.CellDescription(2, 3)->Domain = 7;
  project.CellDescription(2, 4)->Text = "Plains of Blood";
  ViewState view;
  view.MoveTo(2, 3);
  EXPECT_EQ(LocationLine(view, project), "location: [2,3] [7] - The Tower of Doom");
  EXPECT_EQ(LookingLine(view, project), "You are looking south to Plains of Blood");
}

TEST(SceneText, CellAheadIsClampedToTheMap) {
  Project project = NumberedProject(8, 6);
  project.CellDescription(7, 2)->Text = "Edge";
  ViewState view;
  view.MoveTo(7, 2);
  view.ViewDirection = 2;
  EXPECT_EQ(LookingLine(view, project), "You are looking east to Edge");
  view.ViewDirection = 1;  // northeast: x clamped, y moves up
  EXPECT_EQ(CellAhead(view, project.Map).X, 7);
  EXPECT_EQ(CellAhead(view, project.Map).Y, 1);
  view.MoveTo(0, 0);
  view.ViewDirection = 7;
  EXPECT_EQ(CellAhead(view, project.Map).X, 0);
  EXPECT_EQ(CellAhead(view, project.Map).Y, 0);
}

TEST(SceneText, ViewerOutsideAShrunkMapGetsNoDescription) {
  // The map may be replaced by a smaller one while the viewer stands far out.
  const Project project = NumberedProject(4, 4);
  ViewState view;
  view.MoveTo(30, 30);
  EXPECT_EQ(LocationLine(view, project), "location: [30,30] [] - ");
  EXPECT_EQ(LookingLine(view, project), "You are looking south to " + std::string(TerrainNames[(3 + 9) % 16]));
  for (const SceneSprite& sprite : SceneSprites(view, project.Map)) EXPECT_EQ(sprite.Code, FrozenWastes);
}

}  // namespace
}  // namespace mireforge
