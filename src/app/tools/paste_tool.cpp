#include "app/tools/paste_tool.h"

#include <QStringList>

#include "app/document/map_document.h"
#include "app/grid/tile_images.h"

namespace mireforge {

QRect PasteTool::Shown() const {
  if (!block_) return {};
  // The outline's lines reach a pixel past the block's cells.
  return QRect(pointer_.x() - block_->Width / 2 - 1, pointer_.y() - block_->Height / 2 - 1, block_->Width + 2,
               block_->Height + 2);
}

void PasteTool::Hold(CellBlock block, QPoint at) {
  const QRect before = Shown();
  block_ = std::move(block);
  pointer_ = at;
  host_.Grid().RedrawArea(before | Shown());
}

bool PasteTool::Drop() {
  if (!block_) return false;
  host_.Grid().RedrawArea(Shown());
  block_.reset();
  return true;
}

void PasteTool::Turn(void (CellBlock::*turn)()) {
  if (!block_) return;
  const QRect before = Shown();
  ((*block_).*turn)();
  host_.Grid().RedrawArea(before | Shown());
}

void PasteTool::Move(QPoint cell, Qt::KeyboardModifiers, bool) {
  if (!block_ || cell == pointer_) return;
  const QRect before = Shown();
  pointer_ = cell;
  host_.Grid().RedrawArea(before | Shown());
}

void PasteTool::Press(QPoint cell, Qt::KeyboardModifiers) {
  if (!block_) return;
  const CellBlock block = std::move(*block_);
  Drop();
  MapDocument& document = host_.Document();
  Project& project = document.CurrentProject();
  const MapGrid& map = project.Map;
  const int left = cell.x() - block.Width / 2, top = cell.y() - block.Height / 2;
  CellEdit edit(project);
  for (int y = 0; y < block.Height; ++y)
    for (int x = 0; x < block.Width; ++x) {
      const BlockCell& from = block.At(x, y);
      if (!from.present || !map.Contains(left + x, top + y) || map.OnBorder(left + x, top + y)) continue;
      const auto index = static_cast<std::uint32_t>(left + x + (top + y) * map.Width);
      // Letters from another program carry no domain: the cell keeps its own, as painting does.
      const std::int32_t domain = block.TerrainOnly ? ReadCell(project, index).domain : from.domain;
      edit.Set(index, CellState{from.terrain, domain, from.text});
    }
  // A domain this map lacks comes with its name and colour; one it names otherwise stays as it is.
  DomainSlots table = project.Domains.Slots;
  QStringList kept;
  bool added = false;
  for (const BlockDomain& domain : block.Domains) {
    if (!project.Domains.Defined(domain.Number)) {
      table[domain.Number] = domain.Slot;
      added = true;
    } else if (!(project.Domains.Slots[domain.Number].Name == domain.Slot.Name &&
                 project.Domains.Slots[domain.Number].Color == domain.Slot.Color))
      kept << QString::number(domain.Number);
  }
  if (!kept.isEmpty())
    host_.ShowMessage(
        QString("Pasted domain%1 %2 kept this map's name and colour.").arg(kept.size() == 1 ? "" : "s", kept.join(", ")));
  if (edit.Empty() || !added) return host_.Commit("Paste", std::move(edit), false);
  document.BeginMacro(QString("Paste (%1 cells)").arg(edit.Size()));
  document.Push(new DomainTableCommand("Paste domains", project, document, table));
  host_.Commit("Paste", std::move(edit), false);
  document.EndMacro();
}

void PasteTool::PaintOverlay(QPainter& painter, const OverlayArea& area) {
  if (!block_) return;
  const CellBlock& block = *block_;
  const MapGridView& grid = area.grid;
  const int left = pointer_.x() - block.Width / 2, top = pointer_.y() - block.Height / 2;
  const GridOptions& options = grid.Options();
  const TileStyle style = options.retro ? TileStyle::Retro : options.grayscale ? TileStyle::Grey : TileStyle::Colour;
  painter.setOpacity(0.75);
  for (int y = std::max(0, area.r0 - top); y < block.Height && top + y <= area.r1; ++y)
    for (int x = std::max(0, area.c0 - left); x < block.Width && left + x <= area.c1; ++x) {
      const BlockCell& cell = block.At(x, y);
      if (cell.present)
        painter.drawImage(grid.CellRect(left + x, top + y).topLeft(),
                          host_.Tiles().Scaled(style, cell.terrain, options.tileSize));
    }
  painter.setOpacity(1.0);
  DrawOutline(
      painter, area,
      [&](int x, int y) {
        const int bx = x - left, by = y - top;
        return bx >= 0 && by >= 0 && bx < block.Width && by < block.Height && block.At(bx, by).present;
      },
      QColor(0, 0, 0, 0), QColor(0, 160, 0));
}

}  // namespace mireforge
