#pragma once
// Comparing projects in tests.
#include <gtest/gtest.h>

#include <tuple>

#include "project/project.h"

namespace mireforge {

// What a project file carries: the map, each cell's description and domain, the
// domain table and the wizard's method (not the flags, not the last generation's
// settings, not the terrain an item was made with: the map holds the terrain).
inline void ExpectSameProject(const Project& a, const Project& b) {
  EXPECT_EQ(a.Map.Width, b.Map.Width);
  EXPECT_EQ(a.Map.Height, b.Map.Height);
  EXPECT_EQ(a.Map.Cells, b.Map.Cells);
  ASSERT_EQ(a.Descriptions.Size(), b.Descriptions.Size());
  for (std::size_t i = 0; i < a.Descriptions.Size(); ++i) {
    const TDescItem& p = a.Descriptions.Entry(i);
    const TDescItem& q = b.Descriptions.Entry(i);
    ASSERT_EQ(std::make_tuple(p.Text, p.X, p.Y, p.Domain, p.Position()), std::make_tuple(q.Text, q.X, q.Y, q.Domain, q.Position())) << i;
  }
  EXPECT_EQ(a.Descriptions.DescriptionNodes, b.Descriptions.DescriptionNodes);
  for (int n = 0; n < DomainCount; ++n) {
    EXPECT_EQ(a.Domains.Slots[n].Color, b.Domains.Slots[n].Color) << n;
    EXPECT_EQ(a.Domains.Slots[n].Name, b.Domains.Slots[n].Name) << n;
  }
  EXPECT_EQ(a.Rows.Mode, b.Rows.Mode);
}

}  // namespace mireforge
