#include "scene/view_state.h"

#include <gtest/gtest.h>

#include "model/map_grid.h"

namespace mireforge {
namespace {

MapGrid Map(int width, int height) {
  MapGrid map;
  map.ResizeMap(width, height);
  map.RebuildTerrainRows();
  return map;
}

TEST(ViewState, StartsFacingSouthAndTurnsAround) {
  const MapGrid map = Map(10, 10);
  ViewState view;
  EXPECT_EQ(view.ViewDirection, 4);
  EXPECT_EQ(view.Facing().Name, "south");
  for (int i = 0; i < 8; ++i) view.HandleKey(ViewKey::Right, map);
  EXPECT_EQ(view.ViewDirection, 4);
  view.ViewDirection = 0;
  view.HandleKey(ViewKey::Left, map);
  EXPECT_EQ(view.Facing().Name, "northwest");
  view.HandleKey(ViewKey::Right, map);
  view.HandleKey(ViewKey::Right, map);
  EXPECT_EQ(view.Facing().Name, "northeast");
}

TEST(ViewState, StepsStopAtTheMapEdge) {
  struct Case {
    const char* What;
    int Width, Height, X, Y, Direction;
    ViewKey Key;
    int ExpectX, ExpectY;
  };
  const Case cases[] = {
      {"north on the top row", 10, 10, 4, 0, 0, ViewKey::Up, 4, 0},
      {"north in the middle", 10, 10, 4, 5, 0, ViewKey::Up, 4, 4},
      {"back from north on the bottom row", 10, 10, 4, 9, 0, ViewKey::Down, 4, 9},
      {"northeast in the top left corner", 10, 10, 0, 0, 1, ViewKey::Up, 0, 0},
      // Stepping back from northeast goes southwest, off the map here.
      {"back from northeast in the top left corner", 10, 10, 0, 0, 1, ViewKey::Down, 0, 0},
      {"northwest in the top left corner", 10, 10, 0, 0, 7, ViewKey::Up, 0, 0},
      {"back from northwest in the top left corner", 10, 10, 0, 0, 7, ViewKey::Down, 1, 1},
      {"back from northwest on a one-cell map", 1, 1, 0, 0, 7, ViewKey::Down, 0, 0},
      {"back from northwest on a map one row high", 5, 1, 0, 0, 7, ViewKey::Down, 0, 0},
      {"east on the last column", 10, 10, 9, 3, 2, ViewKey::Up, 9, 3},
      {"southwest, blocked only in x", 10, 10, 0, 3, 5, ViewKey::Up, 0, 3},
      {"southwest diagonal", 10, 10, 3, 3, 5, ViewKey::Up, 2, 4},
      {"back from southwest", 10, 10, 3, 3, 5, ViewKey::Down, 4, 2},
      {"on an empty map nothing moves", 0, 0, 0, 0, 4, ViewKey::Up, 0, 0},
  };
  for (const Case& c : cases) {
    const MapGrid map = Map(c.Width, c.Height);
    ViewState view;
    view.MoveTo(c.X, c.Y);
    view.ViewDirection = c.Direction;
    EXPECT_FALSE(view.HandleKey(c.Key, map)) << c.What;
    EXPECT_EQ(view.ViewX, c.ExpectX) << c.What;
    EXPECT_EQ(view.ViewY, c.ExpectY) << c.What;
    EXPECT_EQ(view.ViewDirection, c.Direction) << c.What;
  }
}

TEST(ViewState, EscapeAsksToCloseAndChangesNothing) {
  const MapGrid map = Map(10, 10);
  ViewState view;
  view.MoveTo(3, 4);
  view.ViewDirection = 6;
  EXPECT_TRUE(view.HandleKey(ViewKey::Escape, map));
  EXPECT_EQ(view.ViewX, 3);
  EXPECT_EQ(view.ViewY, 4);
  EXPECT_EQ(view.ViewDirection, 6);
}

TEST(MouseRegions, StrictComparisonsLeaveLinesCentreAndCornersInert) {
  struct Case {
    int X, Y;
    std::optional<ViewKey> Key;
  };
  const std::optional<ViewKey> none;
  // w3 = 170, h3 = 128.
  const Case cases[] = {
      {1, 129, ViewKey::Left},   {169, 255, ViewKey::Left}, {0, 200, none},   {170, 200, none},
      {100, 128, none},          {100, 256, none},          {341, 129, ViewKey::Right},
      {511, 255, ViewKey::Right}, {340, 200, none},         {512, 200, none}, {171, 1, ViewKey::Up},
      {339, 127, ViewKey::Up},   {171, 0, none},            {170, 50, none},  {340, 50, none},
      {200, 257, ViewKey::Down}, {339, 383, ViewKey::Down}, {200, 384, none}, {256, 192, none},
      {10, 10, none},            {500, 10, none},           {10, 370, none},  {500, 370, none},
  };
  for (const Case& c : cases) EXPECT_EQ(MouseRegionKey(c.X, c.Y), c.Key) << c.X << "," << c.Y;
}

TEST(MouseRegions, HoldingTheButtonAtTheTopWalksForwardToTheEdge) {
  const MapGrid map = Map(12, 12);
  ViewState view;
  view.MoveTo(5, 10);
  view.ViewDirection = 0;
  const auto key = MouseRegionKey(256, 40);
  ASSERT_EQ(key, ViewKey::Up);
  for (int move = 0; move < 20; ++move) view.HandleKey(*key, map);
  EXPECT_EQ(view.ViewX, 5);
  EXPECT_EQ(view.ViewY, 0);
}

}  // namespace
}  // namespace mireforge
