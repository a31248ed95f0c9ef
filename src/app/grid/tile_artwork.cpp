#include "app/grid/tile_images.h"
#include "pictures/tile_pictures.h"

namespace mireforge {

namespace {

template <std::size_t N>
void Fill(std::array<QImage, N>& target, const std::vector<Image>& source) {
  for (std::size_t i = 0; i < N && i < source.size(); ++i) target[i] = ToQImage(source[i]);
}

}  // namespace

TileArtwork LoadTileArtwork() {
  TileArtwork art;
  Fill(art.terrain, TerrainTiles(TileLook::Color));
  Fill(art.grey, TerrainTiles(TileLook::Grayscale));
  Fill(art.retro, TerrainTiles(TileLook::Retro));
  Fill(art.tree, TerrainIcons(true));
  art.ticker = ToQImage(TickerMark(true));
  return art;
}

}  // namespace mireforge
