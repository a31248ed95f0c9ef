#pragma once
// The 256 named, coloured regions ("domains") and the statistics row record.
#include <array>
#include <cstdint>
#include <string>

namespace mireforge {

// Colours are 0x00BBGGRR, red in the low byte.
inline constexpr std::int32_t NoColor = 0x1FFFFFFF;
inline constexpr int DomainCount = 256;

struct DomainSlot {
  std::int32_t Color = 0;
  std::string Name;  // empty: the domain is not defined
};

class DomainTable {
 public:
  DomainTable();

  static bool ValidNumber(long long n) { return n >= 0 && n < DomainCount; }

  // Guarded lookups: a domain number read from a file may lie outside 0..255;
  // such a domain has no name and no colour.
  std::int32_t Color(long long n) const { return ValidNumber(n) ? Slots[n].Color : NoColor; }
  const std::string& Name(long long n) const;
  bool Defined(long long n) const { return ValidNumber(n) && !Slots[n].Name.empty(); }

  // "[n] Name".
  std::string DomainLabel(long long n) const;
  // Every slot gets NoColor and an empty name.
  void ResetDomains();

  std::array<DomainSlot, DomainCount> Slots;
};

struct TStatItem {
  TStatItem(int value, std::string name, int count, std::string share)
      : Name(std::move(name)), Value(value), Count(count), Share(std::move(share)) {}
  std::string Name;
  std::int32_t Value = -1;
  std::int32_t Count = 0;
  std::string Share;
};

}  // namespace mireforge
