// Any bytes given to the resource library reader either parse, after which
// every lookup stays inside the file, or are refused with an Error.
#include <cstddef>
#include <cstdint>
#include <string>

#include "scene/pe_resources.h"
#include "base/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const mireforge::PeResources library =
        mireforge::PeResources::Parse(std::string(reinterpret_cast<const char*>(data), size), "fuzz.dll");
    volatile unsigned sum = 0;
    for (int id : {20, 21})
      if (auto bytes = library.RcData(id))
        for (unsigned char b : *bytes) sum = sum + b;
    for (const char* name : {"14_19", "0_0", "SKY"})
      if (auto bytes = library.RcData(name))
        for (unsigned char b : *bytes) sum = sum + b;
  } catch (const mireforge::Error&) {
  }
  return 0;
}
