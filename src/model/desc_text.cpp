#include "model/desc_text.h"

#include <atomic>
#include <cstring>
#include <limits>
#include <new>
#include <ostream>
#include <stdexcept>

#include "model/terrain.h"

namespace mireforge {

// One text's chars follow its block; shared chars are kept by their owner.
struct DescText::Block {
  std::atomic<std::size_t> refs{1};
  std::shared_ptr<const void> owner;
  const char* chars = nullptr;
  std::size_t length = 0;

  const char* Chars() const { return owner ? chars : reinterpret_cast<const char*>(this + 1); }
};

namespace {

constexpr std::size_t MaxTextSize = std::numeric_limits<std::uint32_t>::max();
// What the empty text's view points at: never null, as memcpy and the like want.
constexpr char NoChars[] = "";

}  // namespace

DescText::DescText(std::string_view text) {
  if (text.empty()) return;
  if (text.size() > MaxTextSize) throw std::length_error("A description text is too long");
  void* memory = ::operator new(sizeof(Block) + text.size());
  block_ = new (memory) Block;
  block_->length = text.size();
  std::memcpy(reinterpret_cast<char*>(block_ + 1), text.data(), text.size());
  size_ = static_cast<std::uint32_t>(text.size());
}

DescText::DescText(const DescText& other) noexcept : block_(other.block_), offset_(other.offset_), size_(other.size_) {
  if (block_) block_->refs.fetch_add(1, std::memory_order_relaxed);
}

DescText::DescText(DescText&& other) noexcept : block_(other.block_), offset_(other.offset_), size_(other.size_) {
  other.block_ = nullptr;
  other.offset_ = other.size_ = 0;
}

DescText& DescText::operator=(const DescText& other) noexcept {
  if (other.block_) other.block_->refs.fetch_add(1, std::memory_order_relaxed);
  this->~DescText();
  block_ = other.block_;
  offset_ = other.offset_;
  size_ = other.size_;
  return *this;
}

DescText& DescText::operator=(DescText&& other) noexcept {
  if (this != &other) {
    this->~DescText();
    block_ = other.block_;
    offset_ = other.offset_;
    size_ = other.size_;
    other.block_ = nullptr;
    other.offset_ = other.size_ = 0;
  }
  return *this;
}

DescText::~DescText() {
  if (!block_ || block_->refs.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
  block_->~Block();
  ::operator delete(block_);
  block_ = nullptr;
}

DescText DescText::Sharing(std::shared_ptr<const void> owner, std::string_view chars) {
  if (!owner || chars.empty()) return DescText(chars);
  Block* block = new (::operator new(sizeof(Block))) Block;
  block->owner = std::move(owner);
  block->chars = chars.data();
  block->length = chars.size();
  return DescText(block, 0, static_cast<std::uint32_t>(std::min(block->length, MaxTextSize)));
}

DescText DescText::Part(std::string_view text) const {
  if (text.empty()) return DescText();
  if (block_) {
    const auto start = reinterpret_cast<std::uintptr_t>(block_->Chars());
    const auto at = reinterpret_cast<std::uintptr_t>(text.data());
    if (at >= start && at - start <= block_->length && text.size() <= block_->length - (at - start) &&
        at - start <= MaxTextSize && text.size() <= MaxTextSize) {
      block_->refs.fetch_add(1, std::memory_order_relaxed);
      return DescText(block_, static_cast<std::uint32_t>(at - start), static_cast<std::uint32_t>(text.size()));
    }
  }
  return DescText(text);
}

std::string_view DescText::View() const noexcept {
  return block_ ? std::string_view(block_->Chars() + offset_, size_) : std::string_view(NoChars, 0);
}

std::ostream& operator<<(std::ostream& out, const DescText& text) { return out << text.View(); }

const DescText& DefaultDescription(int code) {
  // Never freed: texts copied from them may outlive any other static.
  static const DescText* const names = [] {
    auto* texts = new DescText[TerrainCount];
    for (int i = 0; i < TerrainCount; ++i) texts[i] = DescText(TerrainNames[i]);
    return texts;
  }();
  return names[TerrainOf(code)];
}

}  // namespace mireforge
