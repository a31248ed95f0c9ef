#pragma once
// A cell's description text, shared rather than copied: a large project holds a
// quarter of a million of them, and undo steps and clipboards copy them often.
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

namespace mireforge {

class DescText {
 public:
  DescText() noexcept = default;
  DescText(std::string_view text);
  DescText(const std::string& text) : DescText(std::string_view(text)) {}
  DescText(const char* text) : DescText(std::string_view(text)) {}
  DescText(const DescText& other) noexcept;
  DescText(DescText&& other) noexcept;
  DescText& operator=(const DescText& other) noexcept;
  DescText& operator=(DescText&& other) noexcept;
  ~DescText();

  // The whole of chars, which texts can then be cut from without a copy: a
  // project file's texts stay in its text, owner keeping it while one of them lives.
  static DescText Sharing(std::shared_ptr<const void> owner, std::string_view chars);
  // text as a DescText: a part of this one's chars when it lies within them
  // (its chars then live as long as the part does), a copy otherwise.
  DescText Part(std::string_view text) const;

  std::string_view View() const noexcept;
  operator std::string_view() const noexcept { return View(); }
  std::string Str() const { return std::string(View()); }
  const char* data() const noexcept { return View().data(); }
  std::size_t size() const noexcept { return size_; }
  bool empty() const noexcept { return size_ == 0; }
  const char* begin() const noexcept { return data(); }
  const char* end() const noexcept { return data() + size_; }

  // One for each kind of text, so none needs a conversion that could be ambiguous.
  friend bool operator==(const DescText& a, const DescText& b) noexcept { return a.View() == b.View(); }
  friend bool operator==(const DescText& a, std::string_view b) noexcept { return a.View() == b; }
  friend bool operator==(const DescText& a, const std::string& b) noexcept { return a.View() == b; }
  friend bool operator==(const DescText& a, const char* b) noexcept { return a.View() == b; }
  friend std::ostream& operator<<(std::ostream& out, const DescText& text);

 private:
  struct Block;
  DescText(Block* block, std::uint32_t offset, std::uint32_t size) noexcept
      : block_(block), offset_(offset), size_(size) {}

  Block* block_ = nullptr;  // null for the empty text
  std::uint32_t offset_ = 0;
  std::uint32_t size_ = 0;
};

// The default description of a terrain code: its name, shared by every cell.
const DescText& DefaultDescription(int code);

}  // namespace mireforge
