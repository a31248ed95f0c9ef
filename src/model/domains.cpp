#include "model/domains.h"

namespace mireforge {

DomainTable::DomainTable() {
  // At start-up slot 0 is practically black, so the default domain has a colour.
  Slots[0].Color = 1;
}

const std::string& DomainTable::Name(long long n) const {
  static const std::string Empty;
  return ValidNumber(n) ? Slots[n].Name : Empty;
}

std::string DomainTable::DomainLabel(long long n) const {
  return "[" + std::to_string(n) + "] " + Name(n);
}

void DomainTable::ResetDomains() {
  for (DomainSlot& slot : Slots) {
    slot.Color = NoColor;
    slot.Name.clear();
  }
}

}  // namespace mireforge
